#include "panels/csceneframe.h"

CSceneFrame::CSceneFrame(QWidget *parent)
    : QFrame(parent)
{
}
