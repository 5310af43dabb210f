#include "config/linkparameters.h"
#include "link/protocoladapter.h"
#include "support/ptypair.h"
#include "support/tcppeer.h"
#include "support/testenv.h"

#include <QSemaphore>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <memory>

// The TCP link, alone and next to an open serial port: where commands go, the
// answer read back, and a device that goes away.
class TestAdapterTcp : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void connectFailureIsLogged();
    void disconnectCompletes();
    void commandsFollowTheOpenLink_data();
    void commandsFollowTheOpenLink();
    void queryOverTcp_data();
    void queryOverTcp();
    void deviceClosesTheConnection();
    void dropLeavesSerialCarrying();
    void serialDropLeavesTcpCarrying();
    void reconnectAfterDrop();
    void ownClosesAreNoDrops();

private:
    void connectPeer();
    // Where one buzzer command went: "serial", "tcp" or "none".
    QString destinationOfNextCommand();

    std::unique_ptr<TestEnv> m_env;
    std::unique_ptr<PtyPair> m_pty;
    std::unique_ptr<TcpPeer> m_peer;
    QString m_closedPort;
};

namespace {

const QString Loopback = QStringLiteral("127.0.0.1");
const QString Baud = QStringLiteral("9600");
QByteArray answer()
{
    return QByteArrayLiteral("HNW192.168.1.168,6800,255.255.255.0,192.168.1.1,00-11-22-33-44-55");
}

// A device on 127.0.0.1 that runs on its own thread, because the adapter
// blocks the GUI thread while it waits for the answer. It may greet first,
// then answers the first command it receives.
class AnsweringDevice : public QThread
{
public:
    AnsweringDevice(const QByteArray &greeting, const QByteArray &answer)
        : m_greeting(greeting)
        , m_answer(answer)
    {
        start();
        m_listening.acquire();
    }
    ~AnsweringDevice() override
    {
        m_stop = true;
        wait();
    }

    QString portText() const { return QString::number(m_port); }
    // Blocks until the greeting has been handed to the network.
    void waitForGreeting() { m_greeted.acquire(); }
    QByteArray query()
    {
        m_answered.acquire();
        return m_query;
    }

protected:
    void run() override
    {
        QTcpServer server;
        server.listen(QHostAddress::LocalHost, 0);
        m_port = server.serverPort();
        m_listening.release();
        if (!server.waitForNewConnection(5000)) {
            m_greeted.release();
            m_answered.release();
            return;
        }
        QTcpSocket *socket = server.nextPendingConnection();
        if (!m_greeting.isEmpty()) {
            socket->write(m_greeting);
            socket->waitForBytesWritten(1000);
        }
        m_greeted.release();
        if (socket->waitForReadyRead(5000))
            m_query = socket->readAll();
        socket->write(m_answer);
        socket->waitForBytesWritten(1000);
        m_answered.release();
        // Stay connected until the program closes or the test ends.
        while (!m_stop && socket->state() == QAbstractSocket::ConnectedState)
            socket->waitForReadyRead(20);
    }

private:
    QByteArray m_greeting;
    QByteArray m_answer;
    QByteArray m_query;
    std::atomic<quint16> m_port {0};
    std::atomic<bool> m_stop {false};
    QSemaphore m_listening;
    QSemaphore m_greeted;
    QSemaphore m_answered;
};

// Collects the debug lines written while it lives, and passes them on.
class DebugLog
{
public:
    DebugLog() { s_previous = qInstallMessageHandler(&DebugLog::handle); }
    ~DebugLog()
    {
        qInstallMessageHandler(s_previous);
        lines().clear();
    }
    QString text() const { return lines().join(QLatin1Char('\n')); }

private:
    static QStringList &lines()
    {
        static QStringList collected;
        return collected;
    }
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        lines().append(message);
        s_previous(type, context, message);
    }

    static inline QtMessageHandler s_previous = nullptr;
};

} // namespace

void TestAdapterTcp::initTestCase()
{
    m_env = std::make_unique<TestEnv>();
    m_peer = std::make_unique<TcpPeer>();
    // A loopback port that refuses connections.
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
    m_closedPort = QString::number(closed.serverPort());
}

void TestAdapterTcp::cleanupTestCase()
{
    m_peer.reset();
    m_env.reset();
}

void TestAdapterTcp::init()
{
    m_pty = std::make_unique<PtyPair>();
    QVERIFY(m_pty->isValid());
    m_peer->clearReceived();
}

void TestAdapterTcp::cleanup()
{
    protocoladapter &adapter = protocoladapter::instance();
    if (adapter.isSerialOpen())
        adapter.closeSerial();
    if (adapter.isTcpConnected())
        adapter.disconnectTcp();
    m_pty.reset();
    // Lets the peer see the program's close before the next test connects.
    QTest::qWait(20);
}

void TestAdapterTcp::connectPeer()
{
    QVERIFY(protocoladapter::instance().connectTcp(Loopback, m_peer->portText()));
    QTRY_VERIFY(m_peer->hasClient());
}

QString TestAdapterTcp::destinationOfNextCommand()
{
    m_pty->readFor(10);
    m_peer->clearReceived();
    protocoladapter::instance().sendBuzzer(true);
    const QByteArray serial = m_pty->readFor(50);
    const QByteArray tcp = m_peer->received();
    if (serial == "1BUZON" && tcp.isEmpty())
        return QStringLiteral("serial");
    if (tcp == "1BUZON" && serial.isEmpty())
        return QStringLiteral("tcp");
    if (serial.isEmpty() && tcp.isEmpty())
        return QStringLiteral("none");
    return QStringLiteral("serial got '%1', tcp got '%2'").arg(QString::fromLatin1(serial), QString::fromLatin1(tcp));
}

void TestAdapterTcp::connectFailureIsLogged()
{
    protocoladapter &adapter = protocoladapter::instance();
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("refused")));
    QVERIFY(!adapter.connectTcp(Loopback, m_closedPort));
    QVERIFY(!adapter.isConnected());
    QVERIFY(!adapter.isTcpConnected());
    QCOMPARE(destinationOfNextCommand(), QStringLiteral("none"));
}

void TestAdapterTcp::disconnectCompletes()
{
    protocoladapter &adapter = protocoladapter::instance();
    connectPeer();
    QVERIFY(adapter.isConnected());
    QVERIFY(adapter.isTcpConnected());
    QTest::ignoreMessage(QtDebugMsg, "断开成功 XXXXXXXXXXXXXXXXXXXXXXXXXX");
    QCOMPARE(adapter.disconnectTcp(), false);
    QVERIFY(!adapter.isConnected());
    QVERIFY(!adapter.isTcpConnected());
    QCOMPARE(destinationOfNextCommand(), QStringLiteral("none"));
}

void TestAdapterTcp::commandsFollowTheOpenLink_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("destination");

    QTest::newRow("serial") << QStringList{"serial"} << "serial";
    QTest::newRow("tcp") << QStringList{"tcp"} << "tcp";
    QTest::newRow("serial, then tcp") << QStringList{"serial", "tcp"} << "tcp";
    QTest::newRow("tcp, then serial") << QStringList{"tcp", "serial"} << "serial";
    // A failed attempt must not strand the link that is still open.
    QTest::newRow("serial, then failed tcp") << QStringList{"serial", "bad tcp"} << "serial";
    QTest::newRow("tcp, then failed serial") << QStringList{"tcp", "bad serial"} << "tcp";
    QTest::newRow("failed tcp alone") << QStringList{"bad tcp"} << "none";
    QTest::newRow("failed serial alone") << QStringList{"bad serial"} << "none";
    QTest::newRow("both, serial closed") << QStringList{"serial", "tcp", "close serial"} << "tcp";
    QTest::newRow("both, tcp disconnected") << QStringList{"serial", "tcp", "disconnect tcp"} << "serial";
    QTest::newRow("both, tcp first, serial closed") << QStringList{"tcp", "serial", "close serial"} << "tcp";
    QTest::newRow("both closed") << QStringList{"serial", "tcp", "close serial", "disconnect tcp"} << "none";
    QTest::newRow("serial reopened after tcp") << QStringList{"tcp", "close serial", "serial"} << "serial";
}

void TestAdapterTcp::commandsFollowTheOpenLink()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, destination);

    protocoladapter &adapter = protocoladapter::instance();
    bool serial = false;
    bool tcp = false;
    for (const QString &step : steps) {
        if (step == QLatin1String("serial")) {
            QVERIFY(adapter.openSerial(m_pty->slavePath(), Baud));
            serial = true;
        } else if (step == QLatin1String("bad serial")) {
            QCOMPARE(adapter.openSerial(m_env->filePath("no-such-port"), Baud), false);
        } else if (step == QLatin1String("tcp")) {
            connectPeer();
            tcp = true;
        } else if (step == QLatin1String("bad tcp")) {
            QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("refused")));
            QCOMPARE(adapter.connectTcp(Loopback, m_closedPort), false);
        } else if (step == QLatin1String("close serial")) {
            adapter.closeSerial();
            serial = false;
        } else if (step == QLatin1String("disconnect tcp")) {
            QTest::ignoreMessage(QtDebugMsg, "断开成功 XXXXXXXXXXXXXXXXXXXXXXXXXX");
            QCOMPARE(adapter.disconnectTcp(), false);
            tcp = false;
        }
    }
    QCOMPARE(adapter.isSerialOpen(), serial);
    QCOMPARE(adapter.isTcpConnected(), tcp);
    QCOMPARE(adapter.isConnected(), serial || tcp);
    QCOMPARE(destinationOfNextCommand(), destination);
}

void TestAdapterTcp::queryOverTcp_data()
{
    QTest::addColumn<QByteArray>("greeting");
    QTest::addColumn<bool>("serialToo");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QString>("expected");

    QTest::newRow("answer") << QByteArray() << false << answer() << QString::fromLatin1(answer());
    QTest::newRow("text ends at NUL") << QByteArray() << false << QByteArray("HNW1,2\0\0\0\0", 10)
                                      << QStringLiteral("HNW1,2");
    QTest::newRow("at most 67 bytes") << QByteArray() << false << QByteArray(100, 'B') << QString(67, QLatin1Char('B'));
    QTest::newRow("greeting is not the answer") << QByteArray("WELCOME\r\n") << false << answer()
                                                << QString::fromLatin1(answer());
    // The answer comes back on the link the query went out on.
    QTest::newRow("serial open too") << QByteArray() << true << answer() << QString::fromLatin1(answer());
}

void TestAdapterTcp::queryOverTcp()
{
    QFETCH(QByteArray, greeting);
    QFETCH(bool, serialToo);
    QFETCH(QByteArray, answer);
    QFETCH(QString, expected);

    protocoladapter &adapter = protocoladapter::instance();
    if (serialToo) {
        QVERIFY(adapter.openSerial(m_pty->slavePath(), Baud));
        m_pty->write("stale serial bytes");
    }
    AnsweringDevice device(greeting, answer);
    QVERIFY(adapter.connectTcp(Loopback, device.portText()));
    device.waitForGreeting();

    QCOMPARE(adapter.queryNetSetting(), expected);
    QCOMPARE(device.query(), QByteArray("HWC"));
    if (serialToo)
        QCOMPARE(m_pty->readFor(50), QByteArray());
}

void TestAdapterTcp::deviceClosesTheConnection()
{
    protocoladapter &adapter = protocoladapter::instance();
    connectPeer();
    QSignalSpy dropped(&adapter, &protocoladapter::linkDropped);
    QSignalSpy sent(&adapter, &protocoladapter::sendData);
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("^TCP link dropped")));

    m_peer->dropClient();
    QVERIFY(dropped.wait(1000));
    QCOMPARE(dropped.count(), 1);
    QCOMPARE(dropped.at(0).at(0).toInt(), 1);
    QVERIFY(!adapter.isTcpConnected());
    QVERIFY(!adapter.isConnected());

    adapter.sendSwitch(1, 2);
    adapter.sendRaw(QStringLiteral("1BUZON"));
    QCOMPARE(adapter.queryNetSetting(), QString());
    QCOMPARE(sent.count(), 0);
    QTest::qWait(50);
    QCOMPARE(dropped.count(), 1);
}

void TestAdapterTcp::dropLeavesSerialCarrying()
{
    protocoladapter &adapter = protocoladapter::instance();
    QVERIFY(adapter.openSerial(m_pty->slavePath(), Baud));
    connectPeer();
    QCOMPARE(destinationOfNextCommand(), QStringLiteral("tcp"));

    QSignalSpy dropped(&adapter, &protocoladapter::linkDropped);
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("^TCP link dropped")));
    m_peer->dropClient();
    QVERIFY(dropped.wait(1000));
    QCOMPARE(dropped.at(0).at(0).toInt(), 1);
    QVERIFY(adapter.isConnected());
    QVERIFY(adapter.isSerialOpen());
    QCOMPARE(destinationOfNextCommand(), QStringLiteral("serial"));
}

void TestAdapterTcp::serialDropLeavesTcpCarrying()
{
    protocoladapter &adapter = protocoladapter::instance();
    QVERIFY(adapter.openSerial(m_pty->slavePath(), Baud));
    connectPeer();

    QSignalSpy dropped(&adapter, &protocoladapter::linkDropped);
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("^serial link dropped")));
    m_pty->closeMaster();
    QVERIFY(dropped.wait(1000));
    QCOMPARE(dropped.at(0).at(0).toInt(), 0);
    QVERIFY(!adapter.isSerialOpen());
    QVERIFY(adapter.isTcpConnected());

    m_peer->clearReceived();
    adapter.sendOneByOne();
    QVERIFY(m_peer->waitForBytes(7));
    QCOMPARE(m_peer->received(), QByteArray("1TOONE."));
}

void TestAdapterTcp::reconnectAfterDrop()
{
    protocoladapter &adapter = protocoladapter::instance();
    connectPeer();
    QSignalSpy dropped(&adapter, &protocoladapter::linkDropped);
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("^TCP link dropped")));
    m_peer->dropClient();
    QVERIFY(dropped.wait(1000));

    connectPeer();
    QCOMPARE(destinationOfNextCommand(), QStringLiteral("tcp"));
    QTest::qWait(50);
    QCOMPARE(dropped.count(), 1);
}

void TestAdapterTcp::ownClosesAreNoDrops()
{
    protocoladapter &adapter = protocoladapter::instance();
    QSignalSpy dropped(&adapter, &protocoladapter::linkDropped);
    const DebugLog log;
    connectPeer();
    // Connecting again drops the old connection first.
    connectPeer();
    QVERIFY(adapter.isTcpConnected());
    adapter.disconnectTcp();
    connectPeer();
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("refused")));
    QVERIFY(!adapter.connectTcp(Loopback, m_closedPort));
    QTest::qWait(100);
    QCOMPARE(dropped.count(), 0);
    QVERIFY2(!log.text().contains(QLatin1String("dropped")), qPrintable(log.text()));
}

QTEST_GUILESS_MAIN(TestAdapterTcp)
#include "tst_adapter_tcp.moc"
