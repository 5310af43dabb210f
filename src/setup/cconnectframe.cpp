#include "setup/cconnectframe.h"

CConnectFrame::CConnectFrame(QWidget *parent)
    : QFrame(parent)
{
}
