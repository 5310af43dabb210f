#include "gatewaybench.h"

#include "arrivallog.h"
#include "benchstats.h"
#include "benchtable.h"
#include "processmemory.h"
#include "tcparrivalpeer.h"

#include "support/testenv.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTcpSocket>
#include <QTest>

#include <memory>
#include <vector>

namespace {

constexpr int GapMs = 50;
constexpr int Clients = 32;
constexpr int BurstRuns = 5;
constexpr double TargetLatencyMs = 1;
constexpr double TargetUpdateMs = 5;
constexpr double TargetMemoryMB = 30;
// "Flat": what 100,000 requests may add once 32 clients are served.
constexpr double TargetGrowthMB = 2;
constexpr int WaitMs = 10000;

// The built gateway in the working directory, in front of the peer; returns its Videohub port.
quint16 startGateway(QProcess &process, quint16 peerPort, int gapMs)
{
    process.start(QStringLiteral(MC_GATEWAY_PATH),
                  { QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:%1").arg(peerPort), QStringLiteral("--gap"),
                    QString::number(gapMs), QStringLiteral("--videohub"), QStringLiteral("127.0.0.1:0"),
                    QStringLiteral("--json") });
    quint16 port = 0;
    bool up = false;
    const bool ready = QTest::qWaitFor([&] {
        while (process.canReadLine()) {
            const QJsonObject event = QJsonDocument::fromJson(process.readLine()).object();
            if (event.value(QStringLiteral("event")) == QLatin1String("listening"))
                port = static_cast<quint16>(event.value(QStringLiteral("port")).toInt());
            up = up || event.value(QStringLiteral("state")) == QLatin1String("up");
        }
        return port && up;
    }, WaitMs);
    // The log line of every command sent, read away so that the pipe never fills.
    QObject::connect(&process, &QProcess::readyReadStandardOutput, [&process] { process.readAllStandardOutput(); });
    return ready ? port : 0;
}

// A Videohub client that counts the blocks it got and when the last one came.
struct Client
{
    QTcpSocket socket;
    int blocks = 0;
    std::int64_t lastNs = 0;
    QByteArray tail;

    bool open(quint16 port)
    {
        QObject::connect(&socket, &QTcpSocket::readyRead, [this] {
            const QByteArray bytes = tail + socket.readAll();
            blocks += bytes.count("\n\n");
            tail = bytes.right(1);
            lastNs = ArrivalLog::nowNs();
        });
        socket.connectToHost(QHostAddress::LocalHost, port);
        socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
        // The dump ends with END PRELUDE, its eighth block.
        return QTest::qWaitFor([this] { return blocks >= 8; }, WaitMs);
    }
};

QByteArray route(int output, int input)
{
    return "VIDEO OUTPUT ROUTING:\n" + QByteArray::number(output) + ' ' + QByteArray::number(input) + "\n\n";
}

} // namespace

GatewayBench::GatewayBench(int requests, int routedRequests)
    : m_requests(requests)
    , m_routedRequests(routedRequests)
{
}

void GatewayBench::run(BenchTable &table)
{
    TestEnv env;
    ArrivalLog log;
    TcpArrivalPeer peer(log);
    QProcess gateway;
    const quint16 port = startGateway(gateway, peer.listen(), GapMs);
    std::vector<std::unique_ptr<Client>> clients;
    for (int i = 0; i < Clients; ++i) {
        clients.push_back(std::make_unique<Client>());
        if (!port || !clients.back()->open(port)) {
            table.addRow(QStringLiteral("gateway"), QStringLiteral("did not start"), QString(), false);
            return;
        }
    }
    Client &requester = *clients.front();

    // One request after a silence longer than the gap: the gap must not delay it.
    QVector<double> latencies;
    QVector<double> updates;
    for (int i = 0; i < m_requests; ++i) {
        QTest::qWait(GapMs + 10);
        const int before = log.commandCount();
        std::vector<int> counts;
        for (const auto &client : clients)
            counts.push_back(client->blocks);
        const std::int64_t sent = ArrivalLog::nowNs();
        requester.socket.write(route(i % 16, (i + 1 + i / 16) % 16)); // always a change, so every client hears of it
        requester.socket.flush();
        const bool all = QTest::qWaitFor([&] {
            for (size_t k = 0; k < clients.size(); ++k) {
                if (clients[k]->blocks <= counts[k])
                    return false;
            }
            return log.commandCount() > before;
        }, WaitMs);
        if (!all || !log.waitForCommands(before + 1, WaitMs))
            break;
        const std::int64_t arrived = log.arrivals().at(before);
        latencies << (arrived - sent) / 1e6;
        std::int64_t last = 0;
        for (const auto &client : clients)
            last = std::max(last, client->lastNs);
        updates << std::abs(last - arrived) / 1e6;
    }
    const BenchStats latency(latencies);
    table.addRow(QStringLiteral("gateway: Videohub route request to last byte at a loopback matrix, after a "
                                "silence (%1 requests, gap %2 ms)")
                     .arg(latency.count())
                     .arg(GapMs),
                 QStringLiteral("median %1 ms, p99 %2 ms, max %3 ms")
                     .arg(latency.median(), 0, 'f', 3)
                     .arg(latency.percentile(99), 0, 'f', 3)
                     .arg(latency.max(), 0, 'f', 3),
                 QStringLiteral("median <= %1 ms beyond the gap").arg(TargetLatencyMs),
                 latency.count() == m_requests && latency.median() <= TargetLatencyMs);
    const BenchStats update(updates);
    table.addRow(QStringLiteral("gateway: the route update at all %1 clients, from the command at the matrix")
                     .arg(Clients),
                 QStringLiteral("median %1 ms, max %2 ms")
                     .arg(update.median(), 0, 'f', 3)
                     .arg(update.max(), 0, 'f', 3),
                 QStringLiteral("<= %1 ms").arg(TargetUpdateMs), update.count() > 0 && update.max() <= TargetUpdateMs);

    // Sixteen routes in one block, to sixteen inputs: sixteen commands, the gap apart.
    double worstBurst = 0;
    bool burstsComplete = true;
    for (int run = 0; run < BurstRuns; ++run) {
        QTest::qWait(GapMs + 10);
        QByteArray block = "VIDEO OUTPUT ROUTING:\n";
        for (int output = 0; output < 16; ++output)
            block += QByteArray::number(output) + ' ' + QByteArray::number((output + run + 2) % 16) + '\n';
        const int before = log.commandCount();
        const std::int64_t sent = ArrivalLog::nowNs();
        requester.socket.write(block + '\n');
        requester.socket.flush();
        burstsComplete = QTest::qWaitFor([&] { return log.commandCount() >= before + 16; }, WaitMs) && burstsComplete;
        if (burstsComplete)
            worstBurst = std::max(worstBurst, (log.arrivals().at(before + 15) - sent) / 1e6);
    }
    const double burstTarget = 16 * GapMs + 50;
    table.addRow(QStringLiteral("gateway: 16 routes in one block, all at the matrix (worst of %1)").arg(BurstRuns),
                 burstsComplete ? QStringLiteral("%1 ms").arg(worstBurst, 0, 'f', 1) : QStringLiteral("incomplete"),
                 QStringLiteral("<= %1 ms").arg(burstTarget), burstsComplete && worstBurst <= burstTarget);
    clients.clear();
    gateway.terminate();
    gateway.waitForFinished(WaitMs);
    peer.stop();

    // Memory over many requests: no gap, so that they take seconds rather than hours.
    ArrivalLog quiet('.', false);
    TcpArrivalPeer sink(quiet);
    QProcess memoryGateway;
    const quint16 memoryPort = startGateway(memoryGateway, sink.listen(), 0);
    for (int i = 0; i < Clients && memoryPort; ++i) {
        clients.push_back(std::make_unique<Client>());
        clients.back()->open(memoryPort);
    }
    const qint64 pid = memoryGateway.processId();
    const double start = ProcessMemory::residentBytes(pid) / 1e6;
    double peak = start;
    Client &sender = *clients.front();
    constexpr int Batch = 100;
    for (int sent = 0; sent < m_routedRequests && memoryPort; sent += Batch) {
        QByteArray requests;
        for (int i = sent; i < sent + Batch; ++i)
            requests += route(i % 16, (i / 16 + i) % 16);
        const int before = sender.blocks;
        sender.socket.write(requests);
        // Each answer is an ACK and an update.
        if (!QTest::qWaitFor([&] { return sender.blocks >= before + 2 * Batch; }, WaitMs))
            break;
        peak = std::max(peak, ProcessMemory::residentBytes(pid) / 1e6);
    }
    const double end = ProcessMemory::residentBytes(pid) / 1e6;
    table.addRow(QStringLiteral("gateway: resident memory with %1 clients, before -> after %2 routed requests (peak)")
                     .arg(Clients)
                     .arg(m_routedRequests),
                 QStringLiteral("%1 MB -> %2 MB (%3 MB); %4 commands at the matrix")
                     .arg(start, 0, 'f', 1)
                     .arg(end, 0, 'f', 1)
                     .arg(peak, 0, 'f', 1)
                     .arg(quiet.commandCount()),
                 QStringLiteral("<= %1 MB, flat (+%2 MB)").arg(TargetMemoryMB).arg(TargetGrowthMB),
                 memoryPort && peak <= TargetMemoryMB && end - start <= TargetGrowthMB);
    clients.clear();
    memoryGateway.terminate();
    memoryGateway.waitForFinished(WaitMs);
    sink.stop();
}
