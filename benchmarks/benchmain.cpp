// mc-bench: start-up, command path, poll accuracy and memory of the program,
// all measured in one run on loopback peers; prints one Markdown table.
// Run it through ./bench (Release build). --quick shortens every part and
// --only PART runs one, for trial runs; the table says so.
#include "benchtable.h"
#include "commandpathbench.h"
#include "gatewaybench.h"
#include "memorybench.h"
#include "pollbench.h"
#include "startupbench.h"
#include "windowdriver.h"

#include "app/mainwindow.h"
#include "support/testenv.h"

#include <QApplication>
#include <QFile>
#include <QSysInfo>
#include <QTest>
#include <QThread>

#include <cstdio>

namespace {

struct Plan
{
    int startupRuns = 9;
    int commands = 1000;
    int pollSeconds = 60;
    int loggedCommands = 1000000;
    int gatewayRequests = 200;
    int routedRequests = 100000;
    // Empty: every part; else one of "startup", "command", "poll", "memory", "gateway".
    QString only;

    bool runs(const char *part) const { return only.isEmpty() || only == QLatin1String(part); }
};

QString cpuModel()
{
    QFile cpuinfo(QStringLiteral("/proc/cpuinfo"));
    if (cpuinfo.open(QIODevice::ReadOnly)) {
        const QList<QByteArray> lines = cpuinfo.readAll().split('\n');
        for (const QByteArray &line : lines) {
            if (line.startsWith("model name"))
                return QString::fromLatin1(line.mid(line.indexOf(':') + 1).trimmed());
        }
    }
    return QSysInfo::currentCpuArchitecture();
}

QString machine()
{
    return QStringLiteral("%1, %2 logical cores; %3, kernel %4; Qt %5; %6, Release")
        .arg(cpuModel())
        .arg(QThread::idealThreadCount())
        .arg(QSysInfo::prettyProductName(), QSysInfo::kernelVersion(), QString::fromLatin1(qVersion()),
#if defined(__clang__)
             QStringLiteral("clang ") + QStringLiteral(__clang_version__)
#else
             QStringLiteral("g++ ") + QStringLiteral(__VERSION__)
#endif
        );
}

void progress(const char *text)
{
    std::fprintf(stderr, "mc-bench: %s\n", text);
}

int runAll(int argc, char **argv, const Plan &plan, bool quick)
{
    QApplication app(argc, argv);
    BenchTable table;

    if (plan.runs("startup")) {
        progress("start-up");
        StartupBench(plan.startupRuns).run(table);
    }

    if (plan.runs("command") || plan.runs("poll")) {
        // English texts, and every channel the program can show, for the poll walk.
        TestEnv env(true);
        env.writeFile(QStringLiteral("AppConfig.ini"),
                      QByteArray("[General]\nlangType=2\nincount=64\noutcount=64\n"));
        MainWindow window;
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            return 1;
        WindowDriver driver(&window);
        if (plan.runs("command")) {
            progress("command path");
            CommandPathBench(driver, plan.commands).run(table);
        }
        if (plan.runs("poll")) {
            progress("poll accuracy");
            PollBench(driver, plan.pollSeconds, 64).run(table);
        }
    }

    if (plan.runs("memory")) {
        progress("memory");
        MemoryBench(plan.loggedCommands).run(table);
    }

    if (plan.runs("gateway")) {
        progress("gateway");
        GatewayBench(plan.gatewayRequests, plan.routedRequests).run(table);
    }

    const bool partial = quick || !plan.only.isEmpty();
    std::printf("%s%s\n\nMachine: %s\n", partial ? "TRIAL RUN, not the full measure\n\n" : "",
                qPrintable(table.toMarkdown()), qPrintable(machine()));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const QString value = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    if (mode == QLatin1String("--startup-child"))
        return StartupBench::runChild(argc, argv, value);
    if (mode == QLatin1String("--memory-child"))
        return MemoryBench::runChild(argc, argv, value.toInt());

    Plan plan;
    const bool quick = mode == QLatin1String("--quick");
    if (quick) {
        plan.startupRuns = 3;
        plan.commands = 200;
        plan.pollSeconds = 10;
        plan.loggedCommands = 100000;
        plan.gatewayRequests = 50;
        plan.routedRequests = 10000;
    } else if (mode == QLatin1String("--only") && !value.isEmpty()) {
        plan.only = value;
    } else if (!mode.isEmpty()) {
        std::fprintf(stderr, "usage: mc-bench [--quick | --only startup|command|poll|memory|gateway]\n");
        return 2;
    }
    return runAll(argc, argv, plan, quick);
}
