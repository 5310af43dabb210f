#pragma once

#include <QPushButton>

class QAction;

// A push button whose right-click menu holds one action that emits trigger().
class ButtonWithMenu : public QPushButton
{
    Q_OBJECT

public:
    explicit ButtonWithMenu(QWidget *parent = nullptr);
    explicit ButtonWithMenu(const QString &text, QWidget *parent = nullptr);
    ~ButtonWithMenu() override;

    void setActionText(const QString &text);

signals:
    void trigger();

private slots:
    void actionOnMenu();

private:
    void initMenu();

    QAction *m_menuAction = nullptr;
};
