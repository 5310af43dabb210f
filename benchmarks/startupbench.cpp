#include "startupbench.h"

#include "benchstats.h"
#include "benchtable.h"
#include "processmemory.h"

#include "app/applicationlook.h"
#include "app/mainwindow.h"
#include "support/testenv.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFont>
#include <QMainWindow>
#include <QProcess>
#include <QScreen>
#include <QWindow>

#include <cstdio>
#include <memory>

namespace {

constexpr double TargetRatio = 1.5;
constexpr double TargetResidentMB = 80;
constexpr int ChildTimeoutMs = 60000;

// QTest::qWaitForWindowExposed sleeps 10 ms between its looks, which would be
// charged to whichever window is not exposed at the first look.
bool waitUntilExposed(QWidget *window)
{
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        const QWindow *handle = window->windowHandle();
        if (handle && handle->isExposed())
            return true;
        if (timer.elapsed() > ChildTimeoutMs)
            return false;
        QCoreApplication::processEvents();
    }
}


} // namespace

StartupBench::StartupBench(int runs)
    : m_runs(runs)
{
}

int StartupBench::runChild(int argc, char **argv, const QString &kind)
{
    QApplication app(argc, argv);
    setUpApplicationLook(app);

    QElapsedTimer timer;
    timer.start();
    std::unique_ptr<QMainWindow> window;
    if (kind == QLatin1String("main")) {
        window.reset(new MainWindow);
    } else {
        window.reset(new QMainWindow);
        window->setFixedSize(MainWindow::WindowWidth, MainWindow::WindowHeight);
    }
    const QRect desktop = QGuiApplication::primaryScreen()->virtualGeometry();
    QApplication::setFont(QFont(QStringLiteral("微软雅黑")));
    window->show();
    window->move(desktop.x() + (desktop.width() - window->width()) / 2,
                 desktop.y() + (desktop.height() - window->height()) / 2);
    if (!waitUntilExposed(window.get()))
        return 1;
    // The first paint is part of being shown.
    QCoreApplication::processEvents();
    const qint64 windowNs = timer.nsecsElapsed();

    std::printf("shown %lld %lld\n", static_cast<long long>(windowNs),
                static_cast<long long>(ProcessMemory::residentBytes()));
    std::fflush(stdout);
    return 0;
}

StartupBench::Sample StartupBench::startOnce(const QString &kind)
{
    Sample sample;
    TestEnv env(true);
    QProcess child;
    child.setWorkingDirectory(env.filePath(QStringLiteral(".")));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(environment);

    QElapsedTimer timer;
    timer.start();
    child.start(QCoreApplication::applicationFilePath(), { QStringLiteral("--startup-child"), kind });
    QByteArray line;
    while (!line.endsWith('\n') && child.waitForReadyRead(ChildTimeoutMs))
        line += child.readLine();
    sample.processMs = timer.nsecsElapsed() / 1e6;
    child.waitForFinished(ChildTimeoutMs);

    const QList<QByteArray> parts = line.trimmed().split(' ');
    if (parts.value(0) != "shown") {
        std::fprintf(stderr, "start-up child (%s) failed: %s\n", qPrintable(kind),
                     child.readAllStandardError().constData());
        return Sample();
    }
    sample.windowMs = parts.value(1).toLongLong() / 1e6;
    sample.residentMB = parts.value(2).toLongLong() / 1e6;
    return sample;
}

void StartupBench::run(BenchTable &table)
{
    QVector<double> mainProcess, mainWindow, mainResident, emptyProcess, emptyWindow;
    // Alternating, so that a busy moment of the machine hits both alike.
    for (int i = 0; i < m_runs; ++i) {
        const Sample empty = startOnce(QStringLiteral("empty"));
        const Sample main = startOnce(QStringLiteral("main"));
        emptyProcess << empty.processMs;
        emptyWindow << empty.windowMs;
        mainProcess << main.processMs;
        mainWindow << main.windowMs;
        mainResident << main.residentMB;
    }
    const double mainMs = BenchStats(mainProcess).median();
    const double emptyMs = BenchStats(emptyProcess).median();
    const double ratio = emptyMs > 0 ? mainMs / emptyMs : 0;
    table.addRow(QStringLiteral("start-up: MainWindow vs empty 780 x 700 QMainWindow, process start to shown (median of %1)")
                     .arg(m_runs),
                 QStringLiteral("%1 ms vs %2 ms = %3x").arg(mainMs, 0, 'f', 1).arg(emptyMs, 0, 'f', 1).arg(ratio, 0, 'f', 2),
                 QStringLiteral("<= %1x").arg(TargetRatio), ratio > 0 && ratio <= TargetRatio);
    table.addNote(QStringLiteral("start-up: constructing and showing the window alone (median)"),
                  QStringLiteral("%1 ms vs %2 ms")
                      .arg(BenchStats(mainWindow).median(), 0, 'f', 1)
                      .arg(BenchStats(emptyWindow).median(), 0, 'f', 1));
    const double resident = BenchStats(mainResident).median();
    table.addRow(QStringLiteral("memory: resident after start (MainWindow shown, fresh directory)"),
                 QStringLiteral("%1 MB").arg(resident, 0, 'f', 1), QStringLiteral("<= %1 MB").arg(TargetResidentMB),
                 resident > 0 && resident <= TargetResidentMB);
}
