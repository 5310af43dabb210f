#include "app/ctitleframe.h"

CTitleFrame::CTitleFrame(QWidget *parent)
    : QFrame(parent)
{
}
