#include "app/ctitleframe.h"

#include "app/caboutversion.h"
#include "config/linkparameters.h"
#include "config/settings.h"
#include "setup/caliassetting.h"

#include <QAction>
#include <QDir>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>

namespace {

// Logo "type" values of the settings; any other value takes logo.png beside the settings.
constexpr int FirstLogoType = 0;
constexpr int SecondLogoType = 1;

// Language codes are the positions of the actions in the Language menu.
constexpr int SimplifiedChinese = 0;
constexpr int TraditionalChinese = 1;
constexpr int English = 2;

// Each language is named in itself, whatever the interface language is.
const QString SimplifiedName = QStringLiteral("简体中文");
const QString TraditionalName = QStringLiteral("繁体中文");
const QString EnglishName = QStringLiteral("English");

} // namespace

CTitleFrame::CTitleFrame(QWidget *parent)
    : QFrame(parent)
{
    initLayout();
    showLogo();
    initMenu();
    checkCurrentLanguage();
    initConnections();
    nameButtons();
}

void CTitleFrame::initLayout()
{
    m_titleLabel = new QLabel(QStringLiteral("Matrix Controller"));
    m_aboutButton = new QPushButton;
    m_minimizeButton = new QPushButton;
    m_closeButton = new QPushButton;
    m_titleLabel->setObjectName(QStringLiteral("titleLabel"));
    m_aboutButton->setObjectName(QStringLiteral("aboutButton"));
    m_minimizeButton->setObjectName(QStringLiteral("minimizeButton"));
    m_closeButton->setObjectName(QStringLiteral("closeButton"));

    setFixedHeight(BarHeight);
    auto *row = new QHBoxLayout;
    row->addSpacing(LogoSpacing);
    row->addWidget(m_titleLabel);
    row->addSpacing(LogoSpacing);
    row->addStretch(ButtonsStretch);
    row->addWidget(m_aboutButton);
    row->addWidget(m_minimizeButton);
    row->addWidget(m_closeButton);
    row->setSpacing(0);
    row->setContentsMargins(0, 0, RightMargin, BottomMargin);
    setLayout(row);
}

void CTitleFrame::showLogo()
{
    QString source;
    switch (linkParameters().type) {
    case FirstLogoType:
        source = QStringLiteral(":/resource/Logo/mq_logo.png");
        break;
    case SecondLogoType:
        source = QStringLiteral(":/resource/Logo/VavIDAD.png");
        break;
    default:
        source = QDir::currentPath() + QStringLiteral("/logo.png");
        break;
    }
    m_titleLabel->setPixmap(QPixmap(source));
    m_titleLabel->setScaledContents(true);
}

void CTitleFrame::initMenu()
{
    m_aboutMenu = new QMenu(this);
    m_langMenu = m_aboutMenu->addMenu(tr("Language"));
    for (const QString &name : {SimplifiedName, TraditionalName, EnglishName})
        m_langMenu->addAction(name)->setCheckable(true);
    m_matrixIdAction = m_aboutMenu->addAction(QString());
    showMatrixId();
    m_copyrightAction = m_aboutMenu->addAction(tr("Copyright"));
    m_routingAction = m_aboutMenu->addAction(tr("Routing"));
    m_aboutButton->setMenu(m_aboutMenu);
}

void CTitleFrame::checkCurrentLanguage()
{
    const QList<QAction *> actions = m_langMenu->actions();
    const int current = linkParameters().langType;
    if (current >= 0 && current < actions.size())
        actions.at(current)->setChecked(true);
}

void CTitleFrame::initConnections()
{
    connect(m_minimizeButton, &QPushButton::clicked, this, &CTitleFrame::clickMinimum);
    connect(m_closeButton, &QPushButton::clicked, this, &CTitleFrame::clickClose);
    connect(m_copyrightAction, &QAction::triggered, this, &CTitleFrame::slotActionCopyright);
    connect(m_matrixIdAction, &QAction::triggered, this, &CTitleFrame::slotActionSetID);
    connect(m_langMenu, &QMenu::triggered, this, &CTitleFrame::slotSwitchLang);
    connect(m_routingAction, &QAction::triggered, this, &CTitleFrame::showRouting);
}

QWidget *CTitleFrame::dialogParent()
{
    return parentWidget() ? parentWidget() : this;
}

void CTitleFrame::clickMinimum()
{
    window()->showMinimized();
}

void CTitleFrame::clickClose()
{
    window()->close();
}

void CTitleFrame::slotActionSetID()
{
    if (!m_matrixIdDialog)
        m_matrixIdDialog = new CAliasSetting(CAliasSetting::MatrixIdMode, dialogParent());
    const int current = linkParameters().matrixId;
    m_matrixIdDialog->setMode(CAliasSetting::MatrixIdMode);
    m_matrixIdDialog->setIndex(current);
    m_matrixIdDialog->setAlias(QString::number(current));
    int id = current;
    if (m_matrixIdDialog->exec() != QDialog::Accepted || !CAliasSetting::readMatrixId(m_matrixIdDialog->alias(), &id))
        return;
    storeMatrixId(id);
    showMatrixId();
}

// The ID every command is addressed with, in sight before it is changed.
void CTitleFrame::showMatrixId()
{
    m_matrixIdAction->setText(tr("Matrix ID: %1").arg(linkParameters().matrixId));
}

void CTitleFrame::slotActionCopyright()
{
    // A fresh dialog each time, so the notice starts hidden; gone once closed.
    QPointer<CAboutversion> about = new CAboutversion(dialogParent());
    about->exec();
    delete about;
}

void CTitleFrame::slotSwitchLang(QAction *action)
{
    const QList<QAction *> actions = m_langMenu->actions();
    for (QAction *each : actions)
        each->setChecked(false);
    action->setChecked(true);

    const int current = getLangType();
    int code = SimplifiedChinese;
    if (action->text() == TraditionalName)
        code = TraditionalChinese;
    else if (action->text() == EnglishName)
        code = English;
    if (code == current)
        return;
    storeLangType(code);
    emit changLang(code);
}

void CTitleFrame::mousePressEvent(QMouseEvent *event)
{
    m_dragging = true;
    const QPoint at = mapToGlobal(event->pos());
    m_lastX = at.x();
    m_lastY = at.y();
    QFrame::mousePressEvent(event);
}

void CTitleFrame::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragging) {
        const QPoint at = mapToGlobal(event->pos());
        QWidget *win = window();
        win->move(win->pos() + QPoint(at.x() - m_lastX, at.y() - m_lastY));
        m_lastX = at.x();
        m_lastY = at.y();
    }
    QFrame::mouseMoveEvent(event);
}

void CTitleFrame::mouseReleaseEvent(QMouseEvent *event)
{
    m_dragging = false;
    QFrame::mouseReleaseEvent(event);
}

void CTitleFrame::changeEvent(QEvent *event)
{
    QFrame::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
}

void CTitleFrame::retranslateUi()
{
    m_langMenu->setTitle(tr("Language"));
    showMatrixId();
    m_copyrightAction->setText(tr("Copyright"));
    m_routingAction->setText(tr("Routing"));
    nameButtons();
}

// The three buttons show only icons from the style sheet; a screen reader needs words.
void CTitleFrame::nameButtons()
{
    m_aboutButton->setAccessibleName(tr("Menu"));
    m_minimizeButton->setAccessibleName(tr("Minimize"));
    m_closeButton->setAccessibleName(tr("Close"));
}
