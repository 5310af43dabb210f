#include "panels/cdebugerframe.h"

CDebugerFrame::CDebugerFrame(QWidget *parent)
    : QFrame(parent)
{
}
