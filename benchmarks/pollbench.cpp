#include "pollbench.h"

#include "arrivallog.h"
#include "benchstats.h"
#include "benchtable.h"
#include "tcparrivalpeer.h"
#include "windowdriver.h"

#include "link/protocoladapter.h"

#include <QPushButton>
#include <QEventLoop>
#include <QTimer>

#include <cmath>
#include <cstdio>

namespace {

constexpr int IntervalMs = 100;
constexpr double TargetP99Ms = 10.0;
constexpr int TargetTickSlack = 2;

} // namespace

PollBench::PollBench(WindowDriver &driver, int seconds, int channels)
    : m_driver(driver)
    , m_seconds(seconds)
    , m_channels(channels)
{
}

void PollBench::run(BenchTable &table)
{
    const QString last = QString::number(m_channels);
    if (!m_driver.openPollPage() || !m_driver.setBox("pollInBeginBox", QStringLiteral("1"))
        || !m_driver.setBox("pollInEndBox", last) || !m_driver.setBox("pollOutBeginBox", QStringLiteral("1"))
        || !m_driver.setBox("pollOutEndBox", last)
        || !m_driver.setBox("pollSleepBox", QString::number(IntervalMs))) {
        table.addNote(QStringLiteral("poll accuracy"), QStringLiteral("not measured: ") + m_driver.error());
        return;
    }

    ArrivalLog log;
    TcpArrivalPeer peer(log);
    const quint16 port = peer.listen();
    protocoladapter &adapter = protocoladapter::instance();
    if (!port || !adapter.connectTcp(QStringLiteral("127.0.0.1"), QString::number(port))) {
        table.addNote(QStringLiteral("poll accuracy"), QStringLiteral("not measured: no loopback link"));
        return;
    }

    const std::int64_t started = ArrivalLog::nowNs();
    m_driver.click(m_driver.pollButton());
    // Half an interval past the end, for the tick that is due exactly then.
    // A real event loop, as the program runs one: QTest::qWait sleeps between
    // its rounds and would make the ticks late itself.
    QEventLoop loop;
    QTimer::singleShot(m_seconds * 1000 + IntervalMs / 2, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
    m_driver.click(m_driver.pollButton());
    const std::int64_t end = started + (m_seconds * 1000LL + IntervalMs / 2) * 1000000LL;
    adapter.disconnectTcp();
    peer.stop();

    QVector<std::int64_t> arrivals;
    const QVector<std::int64_t> received = log.arrivals();
    for (std::int64_t t : received) {
        if (t <= end)
            arrivals << t;
    }
    // The input wraps through one tick that sends nothing, so a gap of two
    // intervals is one idle tick; the deviation is taken from the nearest
    // whole number of intervals.
    QVector<double> deviations;
    int idleTicks = 0;
    for (int i = 1; i < arrivals.size(); ++i) {
        const double gapMs = (arrivals.at(i) - arrivals.at(i - 1)) / 1e6;
        const int ticks = qMax(1, static_cast<int>(std::lround(gapMs / IntervalMs)));
        idleTicks += ticks - 1;
        if (qEnvironmentVariableIsSet("MC_BENCH_DUMP"))
            std::fprintf(stderr, "gap %d: %.2f ms\n", i, gapMs);
        deviations << std::fabs(gapMs - ticks * IntervalMs);
    }
    const int commands = arrivals.size();
    const int ticks = commands + idleTicks;
    const int expectedTicks = m_seconds * 1000 / IntervalMs;
    const BenchStats stats(deviations);
    table.addRow(QStringLiteral("poll accuracy: %1 ms for %2 s over TCP, %3 inputs and outputs")
                     .arg(IntervalMs)
                     .arg(m_seconds)
                     .arg(m_channels),
                 QStringLiteral("%1 commands + %2 idle wrap ticks = %3 ticks; spacing deviation p99 %4 ms, max %5 ms")
                     .arg(commands)
                     .arg(idleTicks)
                     .arg(ticks)
                     .arg(stats.percentile(99), 0, 'f', 2)
                     .arg(stats.max(), 0, 'f', 2),
                 QStringLiteral("%1 +/- %2 ticks, p99 <= %3 ms").arg(expectedTicks).arg(TargetTickSlack).arg(TargetP99Ms),
                 std::abs(ticks - expectedTicks) <= TargetTickSlack && stats.percentile(99) <= TargetP99Ms);
}
