#include "memorybench.h"

#include "arrivallog.h"
#include "benchtable.h"
#include "processmemory.h"
#include "tcparrivalpeer.h"

#include "app/mainwindow.h"
#include "link/protocoladapter.h"
#include "support/testenv.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>

#include <cstdio>

namespace {

constexpr double TargetGrowthMB = 20;
// The event loop runs this often, as it would between bursts of commands.
constexpr int CommandsPerEventLoop = 1000;
constexpr int ChildTimeoutMs = 60 * 60 * 1000;

} // namespace

MemoryBench::MemoryBench(int commands)
    : m_commands(commands)
{
}

int MemoryBench::runChild(int argc, char **argv, int commands)
{
    QApplication app(argc, argv);
    TestEnv env(true);
    env.writeFile(QStringLiteral("AppConfig.ini"), "[General]\nlangType=2\n");
    MainWindow window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    QCoreApplication::processEvents();

    ArrivalLog log('.', false);
    TcpArrivalPeer peer(log);
    const quint16 port = peer.listen();
    protocoladapter &adapter = protocoladapter::instance();
    if (!port || !adapter.connectTcp(QStringLiteral("127.0.0.1"), QString::number(port)))
        return 1;
    QCoreApplication::processEvents();
    const qint64 before = ProcessMemory::residentBytes();

    QElapsedTimer timer;
    timer.start();
    const QStringList outputs { QStringLiteral("2"), QStringLiteral("5") };
    for (int i = 0; i < commands; ++i) {
        adapter.sendSwitchMulti(3, outputs);
        if (i % CommandsPerEventLoop == 0) {
            QCoreApplication::processEvents();
            if (qEnvironmentVariableIsSet("MC_BENCH_TRACE"))
                std::fprintf(stderr, "%d commands, %.1f s, %.1f MB\n", i, timer.elapsed() / 1000.0,
                             ProcessMemory::residentMB());
        }
    }
    log.waitForCommands(commands, ChildTimeoutMs);
    QCoreApplication::processEvents();
    const double seconds = timer.elapsed() / 1000.0;
    const qint64 after = ProcessMemory::residentBytes();
    adapter.disconnectTcp();
    peer.stop();

    std::printf("memory %lld %lld %.1f %d\n", static_cast<long long>(before), static_cast<long long>(after),
                seconds, log.commandCount());
    std::fflush(stdout);
    return 0;
}

void MemoryBench::run(BenchTable &table)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(),
                { QStringLiteral("--memory-child"), QString::number(m_commands) });
    child.waitForFinished(ChildTimeoutMs);
    const QList<QByteArray> parts = child.readAllStandardOutput().trimmed().split(' ');
    if (parts.value(0) != "memory") {
        table.addNote(QStringLiteral("memory growth"),
                      QStringLiteral("not measured: ") + QString::fromLocal8Bit(child.readAllStandardError().right(300)));
        return;
    }
    const double before = parts.value(1).toLongLong() / 1e6;
    const double after = parts.value(2).toLongLong() / 1e6;
    const double growth = after - before;
    table.addRow(QStringLiteral("memory: growth over %1 commands logged by the debug console (TCP link)")
                     .arg(parts.value(4).toInt()),
                 QStringLiteral("%1 MB -> %2 MB = +%3 MB (%4 s)")
                     .arg(before, 0, 'f', 1)
                     .arg(after, 0, 'f', 1)
                     .arg(growth, 0, 'f', 1)
                     .arg(QString::fromLatin1(parts.value(3))),
                 QStringLiteral("<= %1 MB").arg(TargetGrowthMB), growth <= TargetGrowthMB);
}
