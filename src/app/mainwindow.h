#pragma once

#include <QMainWindow>
#include <QTranslator>

class CTitleFrame;
class CSceneFrame;
class CSwitcherFrame;
class CConnectFrame;
class CDebugerFrame;
class CRoutingDialog;
class LinkKeeper;
class RouteTracker;

// The one frameless window: owns the interface language and stacks the panels.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    static constexpr int WindowWidth = 780;
    static constexpr int WindowHeight = 700;

    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

public slots:
    void onChangeLang(int langType);

protected:
    void changeEvent(QEvent *event) override;

private:
    void showBusy(bool waiting);
    void showFileNotices();
    void showQtTexts(int langType);
    void showRouting();
    QString currentLanguageFile(bool *hasFile);

    QWidget *m_centralWidget = nullptr;
    CTitleFrame *m_titleFrame = nullptr;
    CSceneFrame *m_sceneFrame = nullptr;
    CSwitcherFrame *m_switcherFrame = nullptr;
    CConnectFrame *m_connectFrame = nullptr;
    CDebugerFrame *m_debugFrame = nullptr;
    QTranslator m_translator;
    QTranslator m_qtTranslator;
    RouteTracker *m_routeTracker = nullptr;
    LinkKeeper *m_linkKeeper = nullptr;
    CRoutingDialog *m_routingDialog = nullptr;
};
