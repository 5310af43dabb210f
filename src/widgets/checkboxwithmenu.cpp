#include "widgets/checkboxwithmenu.h"

#include <QAction>

CheckBoxWithMenu::CheckBoxWithMenu(QWidget *parent)
    : QCheckBox(parent)
{
    initMenu();
    m_menuAction->setText(QStringLiteral("Test"));
}

CheckBoxWithMenu::~CheckBoxWithMenu()
{
    delete m_menuAction;
}

void CheckBoxWithMenu::initMenu()
{
    setContextMenuPolicy(Qt::ActionsContextMenu);
    m_menuAction = new QAction(this);
    addAction(m_menuAction);
    connect(m_menuAction, &QAction::triggered, this, &CheckBoxWithMenu::actionOnMenu);
}

void CheckBoxWithMenu::setActionText(const QString &text)
{
    m_menuAction->setText(text);
}

bool CheckBoxWithMenu::hitButton(const QPoint &pos) const
{
    return rect().contains(pos);
}

void CheckBoxWithMenu::actionOnMenu()
{
    emit trigger();
}
