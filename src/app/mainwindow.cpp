#include "app/mainwindow.h"

#include "app/ctitleframe.h"
#include "config/filenotices.h"
#include "config/linkparameters.h"
#include "config/settings.h"
#include "link/linkkeeper.h"
#include "link/protocoladapter.h"
#include "link/routetracker.h"
#include "panels/cdebugerframe.h"
#include "panels/croutingdialog.h"
#include "panels/csceneframe.h"
#include "panels/cswitcherframe.h"
#include "setup/cconnectframe.h"

#include <QApplication>
#include <QDebug>
#include <QDir>
#include <QEvent>
#include <QHBoxLayout>
#include <QLibraryInfo>
#include <QLocale>
#include <QVBoxLayout>

namespace {

QString languageFile(const char *name)
{
    return QDir::currentPath() + QStringLiteral("/Lang/") + QLatin1String(name);
}

// Qt's own texts (the reasons in failure lines) in the language of ours, where
// the system has Qt's translations installed.
bool loadQtTexts(QTranslator &translator, const char *locale)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    const QString qtPath = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
#else
    const QString qtPath = QLibraryInfo::location(QLibraryInfo::TranslationsPath);
#endif
    return translator.load(QLocale(QLatin1String(locale)), QStringLiteral("qt"), QStringLiteral("_"), qtPath);
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
{
    // The translation goes in before any panel exists, so every panel comes up translated.
    bool hasFile = false;
    const QString file = currentLanguageFile(&hasFile);
    if (hasFile && m_translator.load(file))
        QApplication::installTranslator(&m_translator);
    showQtTexts(linkParameters().langType);

    setWindowFlags(Qt::FramelessWindowHint);
    setFixedSize(WindowWidth, WindowHeight);

    // The panels are made inside the central widget, which is in the window
    // already: a finished panel moved in later is styled all over again, which
    // took a fifth of the start-up.
    m_centralWidget = new QWidget;
    setCentralWidget(m_centralWidget);
    m_titleFrame = new CTitleFrame(m_centralWidget);
    m_sceneFrame = new CSceneFrame(m_centralWidget);
    m_switcherFrame = new CSwitcherFrame(m_centralWidget);
    m_connectFrame = new CConnectFrame(m_centralWidget);
    m_debugFrame = new CDebugerFrame(m_centralWidget);

    auto *linkRow = new QHBoxLayout;
    linkRow->setContentsMargins(0, 0, 0, 0);
    linkRow->setSpacing(0);
    linkRow->addWidget(m_connectFrame);
    linkRow->addWidget(m_sceneFrame);

    auto *mainLayout = new QVBoxLayout;
    mainLayout->setContentsMargins(0, 0, 0, 0);
    mainLayout->setSpacing(0);
    mainLayout->addWidget(m_titleFrame);
    mainLayout->addLayout(linkRow);
    mainLayout->addWidget(m_switcherFrame);
    mainLayout->addStretch();
    mainLayout->addWidget(m_debugFrame);
    mainLayout->setContentsMargins(1, 1, 1, 1);

    m_centralWidget->setLayout(mainLayout);

    setObjectName(QStringLiteral("mainWindow"));
    m_titleFrame->setObjectName(QStringLiteral("titleWidget"));
    m_sceneFrame->setObjectName(QStringLiteral("sceneWidget"));
    m_switcherFrame->setObjectName(QStringLiteral("switchWidget"));
    m_connectFrame->setObjectName(QStringLiteral("connectWidget"));
    m_debugFrame->setObjectName(QStringLiteral("debugWidget"));

    connect(m_titleFrame, &CTitleFrame::changLang, this, &MainWindow::onChangeLang);
    connect(m_switcherFrame, &CSwitcherFrame::notice, m_debugFrame, &CDebugerFrame::showNotice);
    connect(m_connectFrame, &CConnectFrame::notice, m_debugFrame, &CDebugerFrame::showNotice);
    connect(&protocoladapter::instance(), &protocoladapter::busy, this, &MainWindow::showBusy);
    // The files were read before the console was there: what they held wrong shows now.
    connect(&FileNotices::instance(), &FileNotices::reported, this, &MainWindow::showFileNotices);
    showFileNotices();

    m_routeTracker = new RouteTracker(getInCount(), getOutCount(), this);
    connect(m_routeTracker, &RouteTracker::notice, m_debugFrame, &CDebugerFrame::showNotice);
    if (!m_routeTracker->loadProblem().isEmpty())
        m_debugFrame->showNotice(m_routeTracker->loadProblem());
    m_linkKeeper = new LinkKeeper(this);
    connect(m_linkKeeper, &LinkKeeper::notice, m_debugFrame, &CDebugerFrame::showNotice);
    m_connectFrame->setLinkKeeper(m_linkKeeper);
    connect(m_titleFrame, &CTitleFrame::showRouting, this, &MainWindow::showRouting);
}

// Made on first use, then kept: it stays open beside the window.
void MainWindow::showRouting()
{
    if (!m_routingDialog) {
        m_routingDialog = new CRoutingDialog(m_routeTracker, m_switcherFrame->aliases(), this);
        connect(m_routingDialog, &CRoutingDialog::notice, m_debugFrame, &CDebugerFrame::showNotice);
    }
    m_routingDialog->show();
    m_routingDialog->raise();
    m_routingDialog->activateWindow();
}

void MainWindow::showFileNotices()
{
    const QStringList texts = FileNotices::instance().takePending();
    for (const QString &text : texts)
        m_debugFrame->showNotice(text);
}

// Removed first, so that a language without Qt's texts shows them in English.
void MainWindow::showQtTexts(int langType)
{
    QApplication::removeTranslator(&m_qtTranslator);
    const char *locale = langType == 0 ? "zh_CN" : langType == 1 ? "zh_TW" : nullptr;
    if (locale && loadQtTexts(m_qtTranslator, locale))
        QApplication::installTranslator(&m_qtTranslator);
}

// The link blocks the one thread while it waits; the cursor says so. Nothing
// here may run the event loop: a click or a timer would then reach the link in
// the middle of its wait, and an answer read here would be missed by it. The
// window system picks the cursor up when it next gets to draw.
void MainWindow::showBusy(bool waiting)
{
    if (waiting)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

// Panels save their state in their own destructors, in this order.
MainWindow::~MainWindow()
{
    // The dialog reads the switcher's names; it goes first.
    delete m_routingDialog;
    m_routingDialog = nullptr;
    delete m_titleFrame;
    m_titleFrame = nullptr;
    delete m_sceneFrame;
    m_sceneFrame = nullptr;
    delete m_switcherFrame;
    m_switcherFrame = nullptr;
    delete m_connectFrame;
    m_connectFrame = nullptr;
    delete m_debugFrame;
    m_debugFrame = nullptr;
    delete m_centralWidget;
    m_centralWidget = nullptr;
}

QString MainWindow::currentLanguageFile(bool *hasFile)
{
    *hasFile = false;
    switch (linkParameters().langType) {
    case 0:
        *hasFile = true;
        return languageFile("zh_cn.qm");
    case 1:
        *hasFile = true;
        return languageFile("zh_tw.qm");
    default:
        return QString();
    }
}

void MainWindow::onChangeLang(int langType)
{
    // The menu offers these three only.
    showQtTexts(langType);
    switch (langType) {
    case 1:
        if (m_translator.load(languageFile("zh_tw.qm")))
            QApplication::installTranslator(&m_translator);
        break;
    case 2:
        QApplication::removeTranslator(&m_translator);
        break;
    case 0:
        if (m_translator.load(languageFile("zh_cn.qm")))
            qDebug() << (QApplication::installTranslator(&m_translator) ? "true" : "false");
        break;
    default:
        break;
    }
}

void MainWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
}
