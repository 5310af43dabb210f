#include "widgets/buttonwithmenu.h"

#include <QAction>

ButtonWithMenu::ButtonWithMenu(QWidget *parent)
    : QPushButton(parent)
{
    initMenu();
    m_menuAction->setText(QStringLiteral("Test"));
}

ButtonWithMenu::ButtonWithMenu(const QString &text, QWidget *parent)
    : QPushButton(text, parent)
{
    initMenu();
}

ButtonWithMenu::~ButtonWithMenu()
{
    delete m_menuAction;
}

void ButtonWithMenu::initMenu()
{
    setContextMenuPolicy(Qt::ActionsContextMenu);
    m_menuAction = new QAction(this);
    addAction(m_menuAction);
    connect(m_menuAction, &QAction::triggered, this, &ButtonWithMenu::actionOnMenu);
}

void ButtonWithMenu::setActionText(const QString &text)
{
    m_menuAction->setText(text);
}

void ButtonWithMenu::actionOnMenu()
{
    emit trigger();
}
