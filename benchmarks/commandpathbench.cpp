#include "commandpathbench.h"

#include "arrivallog.h"
#include "benchstats.h"
#include "benchtable.h"
#include "ptyarrivalpeer.h"
#include "tcparrivalpeer.h"
#include "windowdriver.h"

#include "link/protocoladapter.h"

#include <QCoreApplication>
#include <QPushButton>

#include <cstdio>

namespace {

constexpr double TargetMedianMs = 2.0;
constexpr int WarmUpCommands = 20;
constexpr int ArrivalTimeoutMs = 5000;
constexpr char Command[] = "1D3V2,5.";

} // namespace

CommandPathBench::CommandPathBench(WindowDriver &driver, int commands)
    : m_driver(driver)
    , m_commands(commands)
{
}

bool CommandPathBench::measure(const char *linkName, ArrivalLog &log, BenchTable &table)
{
    QPushButton *button = m_driver.switchButton();
    if (!button) {
        table.addNote(QStringLiteral("command path (%1)").arg(QLatin1String(linkName)),
                      QStringLiteral("not measured: no Switch button"));
        return false;
    }
    QVector<double> latencies;
    latencies.reserve(m_commands);
    for (int i = 0; i < WarmUpCommands + m_commands; ++i) {
        const int before = log.commandCount();
        const std::int64_t clicked = ArrivalLog::nowNs();
        m_driver.click(button);
        if (!log.waitForCommands(before + 1, ArrivalTimeoutMs)) {
            table.addNote(QStringLiteral("command path (%1)").arg(QLatin1String(linkName)),
                          QStringLiteral("not measured: command %1 never arrived").arg(i + 1));
            return false;
        }
        if (i >= WarmUpCommands)
            latencies << (log.arrivals().at(before) - clicked) / 1e6;
        // Between two clicks the event loop runs, as it does between an operator's clicks.
        QCoreApplication::processEvents();
    }
    const QByteArray command(Command);
    if (log.lastBytes(command.size()) != command) {
        table.addNote(QStringLiteral("command path (%1)").arg(QLatin1String(linkName)),
                      QStringLiteral("wrong bytes at the peer: %1").arg(QString::fromLatin1(log.lastBytes(32))));
        return false;
    }
    const BenchStats stats(latencies);
    table.addRow(QStringLiteral("command path: \"Switch\" click to last byte at a %1 peer (%2 commands)")
                     .arg(QLatin1String(linkName))
                     .arg(stats.count()),
                 QStringLiteral("median %1 ms, p99 %2 ms, max %3 ms")
                     .arg(stats.median(), 0, 'f', 3)
                     .arg(stats.percentile(99), 0, 'f', 3)
                     .arg(stats.max(), 0, 'f', 3),
                 QStringLiteral("median <= %1 ms").arg(TargetMedianMs), stats.median() <= TargetMedianMs);
    return true;
}

void CommandPathBench::run(BenchTable &table)
{
    if (!m_driver.selectRoute(3, { 2, 5 })) {
        table.addNote(QStringLiteral("command path"), QStringLiteral("not measured: ") + m_driver.error());
        return;
    }
    protocoladapter &adapter = protocoladapter::instance();

    ArrivalLog tcpLog;
    TcpArrivalPeer tcpPeer(tcpLog);
    const quint16 port = tcpPeer.listen();
    if (port && adapter.connectTcp(QStringLiteral("127.0.0.1"), QString::number(port)))
        measure("TCP (127.0.0.1)", tcpLog, table);
    else
        table.addNote(QStringLiteral("command path (TCP)"), QStringLiteral("not measured: no loopback link"));
    adapter.disconnectTcp();
    tcpPeer.stop();

    ArrivalLog ptyLog;
    PtyArrivalPeer ptyPeer(ptyLog);
    ptyPeer.start();
    if (ptyPeer.isValid() && adapter.openSerial(ptyPeer.portName(), QStringLiteral("115200")))
        measure("pty (serial)", ptyLog, table);
    else
        table.addNote(QStringLiteral("command path (pty)"), QStringLiteral("not measured: no pseudo-terminal"));
    adapter.closeSerial();
    ptyPeer.stop();
}
