#include "panels/advancedsetting.h"

AdvancedSetting::AdvancedSetting(QWidget *parent)
    : QFrame(parent)
{
}
