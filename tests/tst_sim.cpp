#include "commandframer.h"
#include "matrixdevice.h"
#include "simoptions.h"
#include "support/simprocess.h"
#include "support/testenv.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QSerialPort>
#include <QTcpSocket>
#include <QtTest>

#include <memory>

using Routing = QVector<int>;

namespace {

// One-to-one routing of n outputs, the state a fresh simulator starts in.
Routing straight(int outputs = 16)
{
    Routing r(outputs);
    for (int k = 0; k < outputs; ++k)
        r[k] = k + 1;
    return r;
}

Routing with(Routing r, const QList<int> &outputs, int input)
{
    for (int output : outputs)
        r[output - 1] = input;
    return r;
}

QByteArrayList texts(const QList<CommandFramer::Frame> &frames)
{
    QByteArrayList out;
    for (const CommandFramer::Frame &frame : frames)
        out << frame.bytes;
    return out;
}

QString textOf(const QJsonObject &command)
{
    return command.value(QStringLiteral("text")).toString();
}

QString resultOf(const QJsonObject &command)
{
    return command.value(QStringLiteral("result")).toString();
}

// Peak resident memory of a process, from /proc (0 where there is none).
qint64 peakMemoryKb(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QByteArrayList lines = status.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

// A TCP client of the simulator, as the program's adapter is one.
class Client
{
public:
    explicit Client(quint16 port)
    {
        m_socket.connectToHost(QHostAddress::LocalHost, port);
        m_socket.waitForConnected(3000);
    }

    bool isConnected() const { return m_socket.state() == QAbstractSocket::ConnectedState; }

    void send(const QByteArray &bytes)
    {
        m_socket.write(bytes);
        while (m_socket.bytesToWrite() > 0 && m_socket.waitForBytesWritten(3000)) {
        }
    }

    // Collects what the simulator answers until count bytes arrived.
    QByteArray read(int count, int timeoutMs = 3000)
    {
        QElapsedTimer timer;
        timer.start();
        while (m_received.size() < count && timer.elapsed() < timeoutMs) {
            if (m_socket.bytesAvailable() > 0 || m_socket.waitForReadyRead(50))
                m_received += m_socket.readAll();
        }
        const QByteArray out = m_received.left(count);
        m_received.remove(0, out.size());
        return out;
    }

    QByteArray query(const QByteArray &expected)
    {
        send("HWC");
        return read(expected.size());
    }

    // Everything that arrived so far and was not read.
    QByteArray rest()
    {
        m_received += m_socket.readAll();
        return std::exchange(m_received, QByteArray());
    }

    void close()
    {
        m_socket.disconnectFromHost();
        if (m_socket.state() != QAbstractSocket::UnconnectedState)
            m_socket.waitForDisconnected(3000);
    }

private:
    QTcpSocket m_socket;
    QByteArray m_received;
};

// The MAC address the simulator's card reports as matrix 1.
constexpr char Mac[] = "02:4D:43:00:00:01";

QByteArray answerFor(const QByteArray &ip, quint16 port, const QByteArray &subnet, const QByteArray &gateway,
                     const QByteArray &mac = QByteArray(Mac))
{
    return "HNW" + ip + ',' + QByteArray::number(port) + ',' + subnet + ',' + gateway + ',' + mac;
}

} // namespace

class TestSim : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_env = std::make_unique<TestEnv>(); }

    // The pure parts: framing and the device model.
    void framerSplitsTheStream_data();
    void framerSplitsTheStream();
    void framerDropsFloods();
    void framerIgnoresChunking();
    void deviceCommands_data();
    void deviceCommands();
    void deviceScenesBuzzerEdid();
    void deviceNetworkCard();
    void options_data();
    void options();

    // The simulator as a process, over loopback TCP and its pseudo-terminal.
    void routing_data();
    void routing();
    void scenesRoundTrip();
    void buzzerAndEdid();
    void networkCard();
    void settingThenHangUpIsStillApplied();
    void pauseEndsCommands();
    void clientsKeepTheirOwnBuffers();
    void garbageLeavesItAnswering();
    void floodsDoNotGrowMemory();
    void serialOverPty();
    void replyDelay();
    void refusesToStart();
    void leavesWithItsRunner();

private:
    std::unique_ptr<TestEnv> m_env;
};

void TestSim::framerSplitsTheStream_data()
{
    QTest::addColumn<QByteArrayList>("chunks");
    QTest::addColumn<QByteArrayList>("complete");
    QTest::addColumn<QByteArrayList>("afterPause");

    const QByteArrayList none;
    QTest::newRow("terminated") << QByteArrayList { "1D3V5." } << QByteArrayList { "1D3V5." } << none;
    QTest::newRow("two in one chunk") << QByteArrayList { "1D3V5.1D2V1,2,7." }
                                      << QByteArrayList { "1D3V5.", "1D2V1,2,7." } << none;
    QTest::newRow("across chunks") << QByteArrayList { "1D", "3V", "5." } << QByteArrayList { "1D3V5." } << none;
    QTest::newRow("buzzer then routing") << QByteArrayList { "1BUZON1D3V5." }
                                         << QByteArrayList { "1BUZON", "1D3V5." } << none;
    QTest::newRow("buzzer off ends itself") << QByteArrayList { "1BUZOFF" } << QByteArrayList { "1BUZOFF" } << none;
    QTest::newRow("network commands") << QByteArrayList { "HWCHWRHWC" } << QByteArrayList { "HWC", "HWR", "HWC" }
                                      << none;
    QTest::newRow("scene waits for the pause") << QByteArrayList { "1SAVE2" } << none << QByteArrayList { "1SAVE2" };
    QTest::newRow("scene digits across chunks") << QByteArrayList { "1CALL1", "2" } << none
                                                << QByteArrayList { "1CALL12" };
    QTest::newRow("scene ended by a query") << QByteArrayList { "1SAVE2HWC" } << QByteArrayList { "1SAVE2", "HWC" }
                                            << none;
    QTest::newRow("net setting waits for the pause")
        << QByteArrayList { "HWS192.168.1.5.255.255.255.0.192.168.1.1" } << none
        << QByteArrayList { "HWS192.168.1.5.255.255.255.0.192.168.1.1" };
    QTest::newRow("net setting then query")
        << QByteArrayList { "HWS10.0.0.5.255.0.0.0.10.0.0.1HWC" }
        << QByteArrayList { "HWS10.0.0.5.255.0.0.0.10.0.0.1", "HWC" } << none;
    QTest::newRow("unaddressed forms") << QByteArrayList { "3V5.03TOALL.TOONE.BUZON5E3.SAVE2" }
                                       << QByteArrayList { "3V5.", "03TOALL.", "TOONE.", "BUZON", "5E3." }
                                       << QByteArrayList { "SAVE2" };
    QTest::newRow("blanks between commands") << QByteArrayList { "HWC\r\n 1D3V5.\n" }
                                             << QByteArrayList { "HWC", "1D3V5." } << none;
    QTest::newRow("routing without terminator") << QByteArrayList { "1D3V5" } << none << QByteArrayList { "1D3V5" };
    QTest::newRow("garbage") << QByteArrayList { QByteArray("\x00\x01zz", 4) } << none
                             << QByteArrayList { QByteArray("\x00\x01zz", 4) };
}

void TestSim::framerSplitsTheStream()
{
    QFETCH(QByteArrayList, chunks);
    QFETCH(QByteArrayList, complete);
    QFETCH(QByteArrayList, afterPause);

    CommandFramer framer;
    QByteArrayList got;
    for (const QByteArray &chunk : qAsConst(chunks))
        got += texts(framer.feed(chunk));
    QCOMPARE(got, complete);
    QCOMPARE(texts(framer.flush()), afterPause);
    QVERIFY(!framer.hasPending());
}

// The same bytes must make the same commands whether they come in one piece
// or byte by byte: an over-long run is dropped at the same point either way.
void TestSim::framerIgnoresChunking()
{
    const QByteArray stream = QByteArray(600, 'x') + ".1D3V5." + QByteArray(700, '\xed') + "HWC";
    CommandFramer whole;
    QList<CommandFramer::Frame> a = whole.feed(stream);
    a += whole.flush();
    CommandFramer bytewise;
    QList<CommandFramer::Frame> b;
    for (char c : stream)
        b += bytewise.feed(QByteArray(1, c));
    b += bytewise.flush();
    QCOMPARE(a.size(), b.size());
    for (int i = 0; i < a.size(); ++i) {
        QCOMPARE(a.at(i).bytes, b.at(i).bytes);
        QCOMPARE(a.at(i).size, b.at(i).size);
        QCOMPARE(a.at(i).discarded, b.at(i).discarded);
    }
    QVERIFY(a.at(0).discarded);
    QCOMPARE(a.at(1).bytes, QByteArray("1D3V5."));
}

void TestSim::framerDropsFloods()
{
    CommandFramer framer;
    const QByteArray chunk(64 * 1024, 'x');
    constexpr int Chunks = 16;
    for (int i = 0; i < Chunks; ++i) {
        QVERIFY(framer.feed(chunk).isEmpty());
        QVERIFY(framer.pendingSize() <= CommandFramer::MaxCommandLength);
    }
    // A "." ends the dropped run; what follows is read as usual.
    const QList<CommandFramer::Frame> frames = framer.feed(".HWC");
    QCOMPARE(frames.size(), 2);
    QVERIFY(frames.at(0).discarded);
    QCOMPARE(frames.at(0).size, qint64(chunk.size()) * Chunks + 1);
    QVERIFY(frames.at(0).bytes.size() <= CommandFramer::DiscardedHeadLength);
    QCOMPARE(frames.at(1).bytes, QByteArray("HWC"));

    // An endless scene number is dropped the same way, and a pause ends the run.
    framer.feed("1SAVE");
    framer.feed(QByteArray(100000, '7'));
    QVERIFY(framer.pendingSize() <= CommandFramer::MaxCommandLength);
    const QList<CommandFramer::Frame> flushed = framer.flush();
    QCOMPARE(flushed.size(), 1);
    QVERIFY(flushed.at(0).discarded);
    QCOMPARE(flushed.at(0).size, qint64(100005));
    QCOMPARE(texts(framer.feed("1D3V5.")), QByteArrayList { "1D3V5." });
}

void TestSim::deviceCommands_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QByteArrayList>("commands");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("action");
    QTest::addColumn<Routing>("routing");

    const Routing start { 1, 2, 3, 4 };
    QTest::newRow("single") << 1 << QByteArrayList { "1D3V2." } << "ok" << "route" << Routing { 1, 3, 3, 4 };
    QTest::newRow("multi") << 1 << QByteArrayList { "1D2V1,3,4." } << "ok" << "route" << Routing { 2, 2, 2, 2 };
    QTest::newRow("to all") << 1 << QByteArrayList { "1D03TOALL." } << "ok" << "route-all" << Routing { 3, 3, 3, 3 };
    QTest::newRow("one by one") << 1 << QByteArrayList { "1D04TOALL.", "1TOONE." } << "ok" << "one-by-one" << start;
    QTest::newRow("two-digit ID") << 12 << QByteArrayList { "12D3V4." } << "ok" << "route" << Routing { 1, 2, 3, 3 };
    QTest::newRow("unaddressed single") << 1 << QByteArrayList { "3V2." } << "ok" << "route" << Routing { 1, 3, 3, 4 };
    QTest::newRow("unaddressed multi") << 1 << QByteArrayList { "4V1,2." } << "ok" << "route"
                                       << Routing { 4, 4, 3, 4 };
    QTest::newRow("unaddressed to all") << 1 << QByteArrayList { "03TOALL." } << "ok" << "route-all"
                                        << Routing { 3, 3, 3, 3 };
    QTest::newRow("unaddressed one by one") << 7 << QByteArrayList { "02TOALL.", "TOONE." } << "ok" << "one-by-one"
                                            << start;
    QTest::newRow("other ID") << 1 << QByteArrayList { "2D3V2." } << "ignored" << "route" << start;
    QTest::newRow("other ID to all") << 1 << QByteArrayList { "12D03TOALL." } << "ignored" << "route-all" << start;
    QTest::newRow("other ID one by one") << 1 << QByteArrayList { "1D04TOALL.", "2TOONE." } << "ignored"
                                         << "one-by-one" << Routing { 4, 4, 4, 4 };
    QTest::newRow("input out of range") << 1 << QByteArrayList { "1D5V1." } << "invalid" << "route" << start;
    QTest::newRow("one bad output changes nothing") << 1 << QByteArrayList { "1D2V1,5." } << "invalid" << "route"
                                                    << start;
    QTest::newRow("output zero") << 1 << QByteArrayList { "1D2V0." } << "invalid" << "route" << start;
    QTest::newRow("huge number") << 1 << QByteArrayList { "1D99999999999999999999V1." } << "invalid" << "route"
                                 << start;
    QTest::newRow("no terminator") << 1 << QByteArrayList { "1D3V2" } << "unknown" << "" << start;
    QTest::newRow("lower case") << 1 << QByteArrayList { "1d3v2." } << "unknown" << "" << start;
    QTest::newRow("no outputs") << 1 << QByteArrayList { "1D3V." } << "unknown" << "" << start;
    QTest::newRow("trailing comma") << 1 << QByteArrayList { "1D3V1,." } << "unknown" << "" << start;
    QTest::newRow("D without ID") << 1 << QByteArrayList { "D3V2." } << "unknown" << "" << start;
    QTest::newRow("network command with ID") << 1 << QByteArrayList { "1HWC" } << "unknown" << "" << start;
    QTest::newRow("bytes") << 1 << QByteArrayList { QByteArray("\x00\xff\x80.", 4) } << "unknown" << "" << start;
}

void TestSim::deviceCommands()
{
    QFETCH(int, id);
    QFETCH(QByteArrayList, commands);
    QFETCH(QString, result);
    QFETCH(QString, action);
    QFETCH(Routing, routing);

    MatrixDevice device(id, 4, 4);
    CommandOutcome outcome;
    for (const QByteArray &command : qAsConst(commands))
        outcome = device.execute(command);
    QCOMPARE(CommandOutcome::resultName(outcome.result), result);
    QCOMPARE(outcome.action, action);
    QCOMPARE(device.routing(), routing);
    QVERIFY(outcome.reply.isEmpty());
}

void TestSim::deviceScenesBuzzerEdid()
{
    MatrixDevice device(1, 4, 4);
    QCOMPARE(device.execute("1D3V1,2.").result, CommandOutcome::Result::Ok);
    const Routing saved = device.routing();
    const CommandOutcome save = device.execute("1SAVE16");
    QCOMPARE(save.result, CommandOutcome::Result::Ok);
    QCOMPARE(save.scene, 16);
    device.execute("1D04TOALL.");
    QCOMPARE(device.execute("1CALL16").result, CommandOutcome::Result::Ok);
    QCOMPARE(device.routing(), saved);

    // Unaddressed scene commands, and scenes that cannot be recalled.
    device.execute("SAVE3");
    device.execute("1D01TOALL.");
    QCOMPARE(device.execute("CALL3").result, CommandOutcome::Result::Ok);
    QCOMPARE(device.routing(), saved);
    QCOMPARE(device.execute("1CALL5").result, CommandOutcome::Result::Invalid);
    QCOMPARE(device.execute("1SAVE17").result, CommandOutcome::Result::Invalid);
    QCOMPARE(device.execute("1SAVE0").result, CommandOutcome::Result::Invalid);
    QCOMPARE(device.execute("2CALL3").result, CommandOutcome::Result::Ignored);
    QCOMPARE(device.routing(), saved);

    QVERIFY(device.buzzer());
    QCOMPARE(device.execute("1BUZOFF").result, CommandOutcome::Result::Ok);
    QVERIFY(!device.buzzer());
    QCOMPARE(device.execute("3BUZON").result, CommandOutcome::Result::Ignored);
    QVERIFY(!device.buzzer());
    device.execute("BUZON");
    QVERIFY(device.buzzer());

    // The output comes first in an EDID command: input 3 takes output 4's EDID.
    QCOMPARE(device.edid(), Routing(4, 0));
    QCOMPARE(device.execute("1D4E3.").result, CommandOutcome::Result::Ok);
    QCOMPARE(device.execute("2E1.").result, CommandOutcome::Result::Ok);
    QCOMPARE(device.execute("1D5E1.").result, CommandOutcome::Result::Invalid);
    QCOMPARE(device.edid(), (Routing { 2, 0, 4, 0 }));
}

void TestSim::deviceNetworkCard()
{
    MatrixDevice device(1, 16, 16);
    const QByteArray factory = "HNW192.168.1.168,6800,255.255.255.0,192.168.1.1," + QByteArray(Mac);
    CommandOutcome query = device.execute("HWC");
    QCOMPARE(query.reply, factory);

    QCOMPARE(device.execute("HWS10.1.2.3.255.255.0.0.10.1.0.254").result, CommandOutcome::Result::Ok);
    QCOMPARE(device.execute("HWC").reply, "HNW10.1.2.3,6800,255.255.0.0,10.1.0.254," + QByteArray(Mac));
    // Leading zeros are read as numbers; a number past 255 changes nothing.
    device.execute("HWS010.001.002.003.255.255.255.000.010.001.002.001");
    QCOMPARE(device.network().ip, QStringLiteral("10.1.2.3"));
    QCOMPARE(device.network().subnet, QStringLiteral("255.255.255.0"));
    QCOMPARE(device.execute("HWS10.1.2.256.255.255.255.0.10.1.2.1").result, CommandOutcome::Result::Invalid);
    QCOMPARE(device.network().ip, QStringLiteral("10.1.2.3"));
    QCOMPARE(device.execute("HWS10.1.2.3.255.255.255.0.10.1.2").result, CommandOutcome::Result::Unknown);

    QCOMPARE(device.execute("HWR").result, CommandOutcome::Result::Ok);
    QCOMPARE(device.execute("HWC").reply, factory);

    // The longest addresses still fit into what the program reads.
    device.execute("HWS255.255.255.255.255.255.255.255.255.255.255.255");
    const QByteArray longest = device.execute("HWC").reply;
    QVERIFY2(longest.size() <= MatrixDevice::MaxReplyLength, longest.constData());
    QVERIFY(longest.startsWith("HNW255.255.255.255,6800,255.255.255.255,255.255.255.255,024D43"));
}

void TestSim::options_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("port");

    QTest::newRow("defaults: loopback") << QStringList {} << true << "127.0.0.1" << 6800;
    QTest::newRow("any free port") << QStringList { "--listen", "127.0.0.1:0" } << true << "127.0.0.1" << 0;
    QTest::newRow("bare port") << QStringList { "--listen", "7000" } << true << "127.0.0.1" << 7000;
    QTest::newRow("localhost") << QStringList { "--listen=localhost:7001" } << true << "127.0.0.1" << 7001;
    QTest::newRow("IPv6 loopback") << QStringList { "--listen", "[::1]:7002" } << true << "::1" << 7002;
    QTest::newRow("explicit other address") << QStringList { "--listen", "0.0.0.0:6800" } << true << "0.0.0.0"
                                            << 6800;
    QTest::newRow("host names are not resolved") << QStringList { "--listen", "example.com:80" } << false << "" << 0;
    QTest::newRow("port too big") << QStringList { "--listen", "127.0.0.1:70000" } << false << "" << 0;
    QTest::newRow("no inputs") << QStringList { "--inputs", "0" } << false << "" << 0;
    QTest::newRow("negative delay") << QStringList { "--reply-delay", "-1" } << false << "" << 0;
    QTest::newRow("unknown option") << QStringList { "--bogus" } << false << "" << 0;
    QTest::newRow("stray argument") << QStringList { "stray" } << false << "" << 0;
}

void TestSim::options()
{
    QFETCH(QStringList, args);
    QFETCH(bool, ok);
    QFETCH(QString, address);
    QFETCH(int, port);

    SimOptions options;
    const SimOptions::Parse parsed = options.parse(QStringList { QStringLiteral("matrix-sim") } + args);
    QCOMPARE(parsed == SimOptions::Parse::Ok, ok);
    if (!ok) {
        QVERIFY(!options.errorText().isEmpty());
        return;
    }
    QCOMPARE(options.address.toString(), address);
    QCOMPARE(int(options.port), port);
}

void TestSim::routing_data()
{
    QTest::addColumn<QStringList>("simArgs");
    QTest::addColumn<QByteArrayList>("sent");
    QTest::addColumn<QString>("result");
    QTest::addColumn<Routing>("routing");

    const Routing start = straight();
    const QStringList id1;
    QTest::newRow("single") << id1 << QByteArrayList { "1D3V5." } << "ok" << with(start, { 5 }, 3);
    QTest::newRow("multi") << id1 << QByteArrayList { "1D3V1,2,7." } << "ok" << with(start, { 1, 2, 7 }, 3);
    QTest::newRow("to all, zero-filled") << id1 << QByteArrayList { "1D03TOALL." } << "ok" << Routing(16, 3);
    QTest::newRow("to all, input 10") << id1 << QByteArrayList { "1D10TOALL." } << "ok" << Routing(16, 10);
    QTest::newRow("one by one") << id1 << QByteArrayList { "1D04TOALL.", "1TOONE." } << "ok" << start;
    QTest::newRow("matrix 12") << QStringList { "--id", "12" } << QByteArrayList { "12D3V16." } << "ok"
                               << with(start, { 16 }, 3);
    QTest::newRow("ID 0: 3V5.") << id1 << QByteArrayList { "3V5." } << "ok" << with(start, { 5 }, 3);
    QTest::newRow("ID 0: multi") << id1 << QByteArrayList { "2V1,10,11." } << "ok" << with(start, { 1, 10, 11 }, 2);
    QTest::newRow("ID 0: 03TOALL.") << id1 << QByteArrayList { "03TOALL." } << "ok" << Routing(16, 3);
    QTest::newRow("ID 0: TOONE.") << id1 << QByteArrayList { "03TOALL.", "TOONE." } << "ok" << start;
    QTest::newRow("another ID") << id1 << QByteArrayList { "2D3V5." } << "ignored" << start;
    QTest::newRow("another ID, to all") << QStringList { "--id", "3" } << QByteArrayList { "1D03TOALL." }
                                        << "ignored" << start;
    QTest::newRow("out of range") << id1 << QByteArrayList { "1D17V1." } << "invalid" << start;
}

void TestSim::routing()
{
    QFETCH(QStringList, simArgs);
    QFETCH(QByteArrayList, sent);
    QFETCH(QString, result);
    QFETCH(Routing, routing);

    SimProcess sim;
    QVERIFY(sim.start(simArgs));
    QCOMPARE(sim.routing(), straight());
    Client client(sim.port());
    QVERIFY(client.isConnected());
    for (int i = 0; i < sent.size(); ++i) {
        client.send(sent.at(i));
        QVERIFY(sim.waitForCommands(i + 1));
        QCOMPARE(textOf(sim.lastCommand()), QString::fromLatin1(sent.at(i)));
    }
    QCOMPARE(resultOf(sim.lastCommand()), result);
    QCOMPARE(sim.routing(), routing);
    // Routing commands are not answered: the next bytes are the query's answer.
    const QByteArray mac = sim.network().value(QStringLiteral("mac")).toString().toLatin1();
    const QByteArray expected = answerFor("127.0.0.1", sim.port(), "255.255.255.0", "127.0.0.1", mac);
    QCOMPARE(client.query(expected), expected);
    QVERIFY(sim.waitForCommands(sent.size() + 1));
    QCOMPARE(client.rest(), QByteArray());
}

void TestSim::scenesRoundTrip()
{
    SimProcess sim;
    QVERIFY(sim.start());
    Client client(sim.port());
    int count = 0;
    auto send = [&](const QByteArray &command) {
        client.send(command);
        // A command without terminator must be reported before the next one goes.
        return sim.waitForCommands(++count) && textOf(sim.lastCommand()) == QString::fromLatin1(command);
    };

    QVERIFY(send("1D3V5."));
    const Routing saved = sim.routing();
    QVERIFY(send("1SAVE2"));
    QCOMPARE(sim.lastCommand().value(QStringLiteral("scene")).toInt(), 2);
    QVERIFY(send("1D01TOALL."));
    QCOMPARE(sim.routing(), Routing(16, 1));
    QVERIFY(send("1CALL2"));
    QCOMPARE(resultOf(sim.lastCommand()), QStringLiteral("ok"));
    QCOMPARE(sim.routing(), saved);

    // The unaddressed forms of matrix ID 0.
    QVERIFY(send("1D09TOALL."));
    QVERIFY(send("SAVE16"));
    QVERIFY(send("1TOONE."));
    QVERIFY(send("CALL16"));
    QCOMPARE(sim.routing(), Routing(16, 9));

    // Another matrix's scene, and one never saved, leave the routing alone.
    QVERIFY(send("2CALL2"));
    QCOMPARE(resultOf(sim.lastCommand()), QStringLiteral("ignored"));
    QVERIFY(send("1CALL7"));
    QCOMPARE(resultOf(sim.lastCommand()), QStringLiteral("invalid"));
    QCOMPARE(sim.routing(), Routing(16, 9));
}

void TestSim::buzzerAndEdid()
{
    SimProcess sim;
    QVERIFY(sim.start());
    Client client(sim.port());

    QVERIFY(sim.buzzer());
    client.send("1BUZOFF");
    QVERIFY(sim.waitForCommands(1));
    QCOMPARE(sim.lastCommand().value(QStringLiteral("action")).toString(), QStringLiteral("buzzer"));
    QVERIFY(!sim.buzzer());
    client.send("2BUZON");
    QVERIFY(sim.waitForCommands(2));
    QCOMPARE(resultOf(sim.lastCommand()), QStringLiteral("ignored"));
    QVERIFY(!sim.buzzer());
    client.send("BUZON");
    QVERIFY(sim.waitForCommands(3));
    QVERIFY(sim.buzzer());

    // "Write" with input 3 and output 5, addressed and unaddressed (5E3.).
    client.send("1D5E3.");
    QVERIFY(sim.waitForCommands(4));
    client.send("16E4.");
    QVERIFY(sim.waitForCommands(5));
    client.send("2D7E1.");
    QVERIFY(sim.waitForCommands(6));
    Routing expected(16, 0);
    expected[2] = 5;
    expected[3] = 16;
    QCOMPARE(sim.edid(), expected);
    QCOMPARE(resultOf(sim.commands().at(5)), QStringLiteral("ignored"));
}

void TestSim::networkCard()
{
    SimProcess sim;
    QVERIFY(sim.start());
    Client client(sim.port());

    // At start the card reports where the simulator really is.
    const QByteArray here = answerFor("127.0.0.1", sim.port(), "255.255.255.0", "127.0.0.1");
    QVERIFY(here.size() <= MatrixDevice::MaxReplyLength);
    QCOMPARE(client.query(here), here);
    QVERIFY(sim.waitForCommands(1));
    QCOMPARE(sim.lastCommand().value(QStringLiteral("reply")).toString(), QString::fromLatin1(here));

    client.send("HWS192.168.5.20.255.255.0.0.192.168.5.1");
    QVERIFY(sim.waitForCommands(2));
    QCOMPARE(sim.lastCommand().value(QStringLiteral("action")).toString(), QStringLiteral("net-set"));
    const QByteArray changed = answerFor("192.168.5.20", sim.port(), "255.255.0.0", "192.168.5.1");
    QCOMPARE(client.query(changed), changed);

    // It only stores the settings: it still listens where it did.
    Client second(sim.port());
    QVERIFY(second.isConnected());
    QCOMPARE(second.query(changed), changed);

    client.send("HWR");
    QVERIFY(sim.waitForCommands(5));
    const QByteArray factory = answerFor("192.168.1.168", 6800, "255.255.255.0", "192.168.1.1");
    QCOMPARE(client.query(factory), factory);
    QCOMPARE(client.rest(), QByteArray());
    QCOMPARE(second.rest(), QByteArray());
}

void TestSim::settingThenHangUpIsStillApplied()
{
    // The connection panel sends HWS and drops the link at once.
    SimProcess sim;
    QVERIFY(sim.start({ QStringLiteral("--pause"), QStringLiteral("5000") }));
    {
        Client client(sim.port());
        client.send("HWS10.9.8.7.255.0.0.0.10.0.0.1");
        client.close();
    }
    QVERIFY(sim.waitForCommands(1, 2000));
    QCOMPARE(resultOf(sim.lastCommand()), QStringLiteral("ok"));
    Client again(sim.port());
    const QByteArray expected = answerFor("10.9.8.7", sim.port(), "255.0.0.0", "10.0.0.1");
    QCOMPARE(again.query(expected), expected);
}

void TestSim::pauseEndsCommands()
{
    SimProcess sim;
    QVERIFY(sim.start());
    Client client(sim.port());

    client.send("1SAVE2");
    QVERIFY(sim.waitForCommands(1));
    QCOMPARE(textOf(sim.lastCommand()), QStringLiteral("1SAVE2"));
    QCOMPARE(resultOf(sim.lastCommand()), QStringLiteral("ok"));

    // A routing command needs its "." even after a pause.
    client.send("1D3V5");
    QVERIFY(sim.waitForCommands(2));
    QCOMPARE(textOf(sim.lastCommand()), QStringLiteral("1D3V5"));
    QCOMPARE(resultOf(sim.lastCommand()), QStringLiteral("unknown"));

    // Back to back in one chunk, where the ends are plain.
    const QByteArray expected = answerFor("127.0.0.1", sim.port(), "255.255.255.0", "127.0.0.1");
    client.send("1BUZOFF1D3V5.1CALL2HWC");
    QCOMPARE(client.read(expected.size()), expected);
    QVERIFY(sim.waitForCommands(6));
    QStringList got;
    const QList<QJsonObject> commands = sim.commands().mid(2);
    for (const QJsonObject &command : commands)
        got << textOf(command) + QLatin1Char('=') + resultOf(command);
    QCOMPARE(got, (QStringList { "1BUZOFF=ok", "1D3V5.=ok", "1CALL2=ok", "HWC=ok" }));
}

void TestSim::clientsKeepTheirOwnBuffers()
{
    // A long pause, so that a half command waits for its other half.
    SimProcess sim;
    QVERIFY(sim.start({ QStringLiteral("--pause"), QStringLiteral("5000") }));
    Client first(sim.port());
    Client second(sim.port());
    first.send("1D3");
    second.send("1D4V6.");
    QVERIFY(sim.waitForCommands(1));
    first.send("V5.");
    QVERIFY(sim.waitForCommands(2));
    const QList<QJsonObject> commands = sim.commands();
    QCOMPARE(textOf(commands.at(0)), QStringLiteral("1D4V6."));
    QCOMPARE(textOf(commands.at(1)), QStringLiteral("1D3V5."));
    QVERIFY(commands.at(0).value(QStringLiteral("source")) != commands.at(1).value(QStringLiteral("source")));
    QCOMPARE(sim.routing(), with(with(straight(), { 6 }, 4), { 5 }, 3));
}

void TestSim::garbageLeavesItAnswering()
{
    SimProcess sim;
    QVERIFY(sim.start());
    Client client(sim.port());

    QRandomGenerator random(20240607);
    QByteArray noise(64 * 1024, '\0');
    for (char &c : noise)
        c = static_cast<char>(random.bounded(256));
    client.send(noise);
    client.send(QByteArray(4096, '\0'));
    client.send(QByteArray(1024 * 1024, 'A'));
    // The megabyte is dropped as one run once the stream goes quiet.
    QTRY_VERIFY_WITH_TIMEOUT(!sim.commands().isEmpty()
                                 && sim.lastCommand().value(QStringLiteral("size")).toDouble() >= 1024 * 1024,
                             5000);
    const QList<QJsonObject> commands = sim.commands();
    for (const QJsonObject &command : commands)
        QVERIFY2(resultOf(command) == QLatin1String("unknown"), qPrintable(textOf(command)));
    QCOMPARE(resultOf(sim.lastCommand()), QStringLiteral("unknown"));

    const QByteArray expected = answerFor("127.0.0.1", sim.port(), "255.255.255.0", "127.0.0.1");
    client.rest();
    QCOMPARE(client.query(expected), expected);
    Client fresh(sim.port());
    QCOMPARE(fresh.query(expected), expected);
    QVERIFY(sim.isRunning());
}

void TestSim::floodsDoNotGrowMemory()
{
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("AddressSanitizer holds freed memory back, so peak memory says nothing here");
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    QSKIP("AddressSanitizer holds freed memory back, so peak memory says nothing here");
#endif
#endif
    SimProcess sim;
    QVERIFY(sim.start({ QStringLiteral("--pause"), QStringLiteral("5000") }));
    Client client(sim.port());
    const QByteArray expected = answerFor("127.0.0.1", sim.port(), "255.255.255.0", "127.0.0.1");
    QCOMPARE(client.query(expected), expected);
    const qint64 before = peakMemoryKb(sim.processId());
    if (before == 0)
        QSKIP("no /proc here");

    constexpr int Megabytes = 16;
    const QByteArray chunk(64 * 1024, '7');
    for (int i = 0; i < Megabytes * 16; ++i)
        client.send(chunk);
    client.send(".HWC");
    QCOMPARE(client.read(expected.size(), 10000), expected);
    const qint64 grown = peakMemoryKb(sim.processId()) - before;
    QVERIFY2(grown < 4 * 1024, qPrintable(QStringLiteral("peak memory grew by %1 kB").arg(grown)));
}

void TestSim::serialOverPty()
{
    SimProcess sim;
    QVERIFY(sim.start({ QStringLiteral("--pty") }));
    QVERIFY(sim.ptyPath().startsWith(QLatin1String("/dev/")));

    // The program opens the path as its serial port, as here.
    QSerialPort port(sim.ptyPath());
    QVERIFY2(port.open(QIODevice::ReadWrite), qPrintable(port.errorString()));
    port.write("1D3V5.");
    port.waitForBytesWritten(1000);
    QVERIFY(sim.waitForCommands(1));
    QCOMPARE(sim.lastCommand().value(QStringLiteral("source")).toString(), QStringLiteral("pty"));
    QCOMPARE(sim.routing(), with(straight(), { 5 }, 3));

    port.write("HWC");
    port.waitForBytesWritten(1000);
    const QByteArray expected = answerFor("127.0.0.1", sim.port(), "255.255.255.0", "127.0.0.1");
    QByteArray reply;
    QElapsedTimer timer;
    timer.start();
    while (reply.size() < expected.size() && timer.elapsed() < 3000) {
        if (port.waitForReadyRead(50))
            reply += port.readAll();
    }
    QCOMPARE(reply, expected);

    // The port may be closed and opened again, as the connection panel does.
    port.close();
    QVERIFY(port.open(QIODevice::ReadWrite));
    port.write("1BUZOFF");
    port.waitForBytesWritten(1000);
    QVERIFY(sim.waitForCommands(3));
    QVERIFY(!sim.buzzer());
}

void TestSim::replyDelay()
{
    constexpr int DelayMs = 150;
    SimProcess sim;
    QVERIFY(sim.start({ QStringLiteral("--reply-delay"), QString::number(DelayMs) }));
    Client client(sim.port());
    const QByteArray expected = answerFor("127.0.0.1", sim.port(), "255.255.255.0", "127.0.0.1");
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(client.query(expected), expected);
    QVERIFY(timer.elapsed() >= DelayMs);
}

void TestSim::refusesToStart()
{
    SimProcess first;
    QVERIFY(first.start());

    // Port taken: a later --listen overrides the helper's own.
    SimProcess second;
    QVERIFY(!second.start({ QStringLiteral("--listen"), QStringLiteral("127.0.0.1:") + first.portText() }));
    QVERIFY2(second.errorOutput().contains("cannot listen"), second.errorOutput().constData());

    QProcess bad;
    bad.start(QStringLiteral(MC_SIM_PATH), { QStringLiteral("--inputs"), QStringLiteral("0") });
    QVERIFY(bad.waitForFinished(5000));
    QCOMPARE(bad.exitCode(), 2);
    QVERIFY(bad.readAllStandardError().contains("--inputs"));
    QVERIFY(first.isRunning());
}

void TestSim::leavesWithItsRunner()
{
    // A test process that dies closes the simulator's standard input.
    QProcess sim;
    sim.start(QStringLiteral(MC_SIM_PATH),
              { QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--watch-stdin") });
    QVERIFY(sim.waitForStarted(5000));
    QByteArray output;
    QTRY_VERIFY((output += sim.readAllStandardOutput()).contains("ready"));
    sim.write("stray input is ignored\n");
    QVERIFY(!sim.waitForFinished(200));
    sim.closeWriteChannel();
    QVERIFY(sim.waitForFinished(5000));
    QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.exitCode(), 0);
}

QTEST_GUILESS_MAIN(TestSim)
#include "tst_sim.moc"
