#pragma once

#include <QMenu>

class QAction;

// What a right click on a row of the device list offers. Each choice is for
// the table's current row, which the click has made the row under it.
class DeviceListMenu : public QMenu
{
    Q_OBJECT

public:
    explicit DeviceListMenu(QWidget *parent);

    // At the cursor; Up and Down only where the row can move.
    void popUpFor(int row, int rowCount);
    void retranslateUi();

signals:
    void settingChosen();
    void resetChosen();
    void deleteChosen();
    void setAliasChosen();
    void upChosen();
    void downChosen();

private:
    QAction *m_upAction = nullptr;
    QAction *m_downAction = nullptr;
};
