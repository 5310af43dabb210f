#pragma once

#include <QCheckBox>

class QAction;

// A check box whose right-click menu holds one action that emits trigger().
class CheckBoxWithMenu : public QCheckBox
{
    Q_OBJECT

public:
    explicit CheckBoxWithMenu(QWidget *parent = nullptr);
    ~CheckBoxWithMenu() override;

    void setActionText(const QString &text);

protected:
    // Channel buttons are drawn as whole tiles: a click anywhere on the tile
    // counts, not only on the indicator and the text.
    bool hitButton(const QPoint &pos) const override;

signals:
    void trigger();

private slots:
    void actionOnMenu();

private:
    void initMenu();

    QAction *m_menuAction = nullptr;
};
