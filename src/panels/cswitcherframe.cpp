#include "panels/cswitcherframe.h"

CSwitcherFrame::CSwitcherFrame(QWidget *parent)
    : QFrame(parent)
{
}
