#include "setup/devicelistmenu.h"

#include <QAction>
#include <QCursor>

DeviceListMenu::DeviceListMenu(QWidget *parent)
    : QMenu(parent)
{
    addAction(QString(), this, &DeviceListMenu::settingChosen);
    addAction(QString(), this, &DeviceListMenu::resetChosen);
    addAction(QString(), this, &DeviceListMenu::deleteChosen);
    addAction(QString(), this, &DeviceListMenu::setAliasChosen);
    m_upAction = addAction(QString(), this, &DeviceListMenu::upChosen);
    m_downAction = addAction(QString(), this, &DeviceListMenu::downChosen);
}

void DeviceListMenu::popUpFor(int row, int rowCount)
{
    m_upAction->setEnabled(row != 0);
    m_downAction->setEnabled(row != rowCount - 1);
    exec(QCursor::pos());
}

// In the order the entries stand.
void DeviceListMenu::retranslateUi()
{
    const QStringList texts = {tr("Setting"), tr("Reset"), tr("Delete"), tr("Set Alias"), tr("Up"), tr("Down")};
    const QList<QAction *> entries = actions();
    for (int i = 0; i < entries.size(); ++i)
        entries.at(i)->setText(texts.at(i));
}
