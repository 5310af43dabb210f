#include "config/linkparameters.h"
#include "link/protocoladapter.h"
#include "support/ptypair.h"
#include "support/tcppeer.h"
#include "support/testenv.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

// What the device receives for every send wrapper, over the serial port and over TCP.
class TestAdapterWrappers : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();

    void bytesOnTheWire_data();
    void bytesOnTheWire();
    void nothingWithoutLink();
    void nothingAfterClosing_data();
    void nothingAfterClosing();

private:
    void openLink(const QString &transport);
    QByteArray receivedAtPeer(const QString &transport, int count);

    std::unique_ptr<TestEnv> m_env;
    std::unique_ptr<PtyPair> m_pty;
    std::unique_ptr<TcpPeer> m_peer;
};

namespace {

const QString Serial = QStringLiteral("serial");
const QString Tcp = QStringLiteral("tcp");

void callWrapper(const QString &wrapper, const QVariantList &args)
{
    protocoladapter &adapter = protocoladapter::instance();
    const auto arg = [&args](int i) { return args.value(i).toInt(); };
    if (wrapper == QLatin1String("switch"))
        adapter.sendSwitch(arg(0), arg(1));
    else if (wrapper == QLatin1String("switchMulti"))
        adapter.sendSwitchMulti(arg(0), args.value(1).toStringList());
    else if (wrapper == QLatin1String("switchToAll"))
        adapter.sendSwitchToAll(arg(0));
    else if (wrapper == QLatin1String("oneByOne"))
        adapter.sendOneByOne();
    else if (wrapper == QLatin1String("saveScene"))
        adapter.sendSaveScene(arg(0));
    else if (wrapper == QLatin1String("callScene"))
        adapter.sendCallScene(arg(0));
    else if (wrapper == QLatin1String("buzzer"))
        adapter.sendBuzzer(args.value(0).toBool());
    else if (wrapper == QLatin1String("edid"))
        adapter.sendEdid(arg(0), arg(1));
    else if (wrapper == QLatin1String("netSetting"))
        adapter.sendNetSetting(args.value(0).toString(), args.value(1).toString(), args.value(2).toString());
    else if (wrapper == QLatin1String("netReset"))
        adapter.sendNetReset();
    else if (wrapper == QLatin1String("raw"))
        adapter.sendRaw(args.value(0).toString());
    else
        QFAIL("unknown wrapper");
}

struct Row
{
    const char *name;
    const char *wrapper;
    QVariantList args;
    int matrixId;
    const char *bytes;
};

QVector<Row> wrapperRows()
{
    const QVariantList net{QStringLiteral("192.168.1.168"), QStringLiteral("255.255.255.0"),
                           QStringLiteral("192.168.1.1")};
    const QVariantList outputs{3, QStringList{QStringLiteral("2"), QStringLiteral("5")}};
    return {
        {"switch", "switch", {3, 5}, 1, "1D3V5."},
        {"switch id 12", "switch", {3, 5}, 12, "12D3V5."},
        {"switch id 0", "switch", {3, 5}, 0, "3V5."},
        {"multi", "switchMulti", outputs, 1, "1D3V2,5."},
        {"multi id 12", "switchMulti", outputs, 12, "12D3V2,5."},
        {"multi id 0", "switchMulti", outputs, 0, "3V2,5."},
        {"to all", "switchToAll", {3}, 1, "1D03TOALL."},
        {"to all id 12", "switchToAll", {3}, 12, "12D03TOALL."},
        {"to all id 0", "switchToAll", {3}, 0, "03TOALL."},
        {"one by one", "oneByOne", {}, 1, "1TOONE."},
        {"one by one id 12", "oneByOne", {}, 12, "12TOONE."},
        {"one by one id 0", "oneByOne", {}, 0, "TOONE."},
        {"save", "saveScene", {2}, 1, "1SAVE2"},
        {"save id 12", "saveScene", {2}, 12, "12SAVE2"},
        {"save id 0", "saveScene", {2}, 0, "SAVE2"},
        {"call", "callScene", {16}, 1, "1CALL16"},
        {"call id 12", "callScene", {16}, 12, "12CALL16"},
        {"call id 0", "callScene", {16}, 0, "CALL16"},
        {"buzzer on", "buzzer", {true}, 1, "1BUZON"},
        {"buzzer off id 12", "buzzer", {false}, 12, "12BUZOFF"},
        {"buzzer on id 0", "buzzer", {true}, 0, "BUZON"},
        {"edid", "edid", {3, 5}, 1, "1D5E3."},
        {"edid id 12", "edid", {3, 16}, 12, "12D16E3."},
        {"edid id 0", "edid", {3, 5}, 0, "5E3."},
        {"net setting", "netSetting", net, 1, "HWS192.168.1.168.255.255.255.0.192.168.1.1"},
        {"net setting id 0", "netSetting", net, 0, "HWS192.168.1.168.255.255.255.0.192.168.1.1"},
        {"net reset id 12", "netReset", {}, 12, "HWR"},
        {"raw", "raw", {QStringLiteral("HDMI1")}, 1, "HDMI1"},
        {"raw id 0 loses every D", "raw", {QStringLiteral("HDMI1D")}, 0, "HMI1"},
        {"raw id 0 keeps lower-case d", "raw", {QStringLiteral("hdmi")}, 0, "hdmi"},
        {"raw leading 0 dropped", "raw", {QStringLiteral("0ABC")}, 2, "ABC"},
        {"raw only the first 0", "raw", {QStringLiteral("00D1")}, 12, "0D1"},
    };
}

} // namespace

void TestAdapterWrappers::initTestCase()
{
    m_env = std::make_unique<TestEnv>();
    m_pty = std::make_unique<PtyPair>();
    QVERIFY(m_pty->isValid());
    m_peer = std::make_unique<TcpPeer>();
}

void TestAdapterWrappers::cleanupTestCase()
{
    cleanup();
    m_peer.reset();
    m_pty.reset();
    m_env.reset();
}

void TestAdapterWrappers::cleanup()
{
    protocoladapter &adapter = protocoladapter::instance();
    if (adapter.isSerialOpen())
        adapter.closeSerial();
    if (adapter.isTcpConnected())
        adapter.disconnectTcp();
    linkParameters().matrixId = 1;
}

void TestAdapterWrappers::openLink(const QString &transport)
{
    protocoladapter &adapter = protocoladapter::instance();
    if (transport == Serial) {
        QVERIFY(adapter.openSerial(m_pty->slavePath(), QStringLiteral("9600")));
        m_pty->readFor(20);
    } else {
        QVERIFY(adapter.connectTcp(QStringLiteral("127.0.0.1"), m_peer->portText()));
        QTRY_VERIFY(m_peer->hasClient());
        m_peer->clearReceived();
    }
}

QByteArray TestAdapterWrappers::receivedAtPeer(const QString &transport, int count)
{
    if (transport == Serial)
        return m_pty->readAtLeast(count);
    m_peer->waitForBytes(count);
    return m_peer->received();
}

void TestAdapterWrappers::bytesOnTheWire_data()
{
    QTest::addColumn<QString>("transport");
    QTest::addColumn<QString>("wrapper");
    QTest::addColumn<QVariantList>("args");
    QTest::addColumn<int>("matrixId");
    QTest::addColumn<QByteArray>("bytes");

    const QVector<Row> rows = wrapperRows();
    for (const QString &transport : {Serial, Tcp}) {
        for (const Row &row : rows) {
            QTest::addRow("%s: %s", qPrintable(transport), row.name)
                << transport << QString::fromLatin1(row.wrapper) << row.args << row.matrixId
                << QByteArray(row.bytes);
        }
    }
}

void TestAdapterWrappers::bytesOnTheWire()
{
    QFETCH(QString, transport);
    QFETCH(QString, wrapper);
    QFETCH(QVariantList, args);
    QFETCH(int, matrixId);
    QFETCH(QByteArray, bytes);

    openLink(transport);
    linkParameters().matrixId = matrixId;
    QSignalSpy sent(&protocoladapter::instance(), &protocoladapter::sendData);

    QElapsedTimer timer;
    timer.start();
    callWrapper(wrapper, args);
    const qint64 elapsed = timer.elapsed();

    QCOMPARE(receivedAtPeer(transport, bytes.size()), bytes);
    QCOMPARE(sent.count(), 1);
    QCOMPARE(sent.at(0).at(0).toString(), QString::fromLatin1(bytes));
    // The device needs a second to take each EDID write.
    if (wrapper == QLatin1String("edid"))
        QVERIFY2(elapsed >= protocoladapter::EdidPauseMs, qPrintable(QString::number(elapsed)));
}

void TestAdapterWrappers::nothingWithoutLink()
{
    protocoladapter &adapter = protocoladapter::instance();
    QVERIFY(!adapter.isConnected());
    m_peer->clearReceived();
    QSignalSpy sent(&adapter, &protocoladapter::sendData);

    QElapsedTimer timer;
    timer.start();
    const QVector<Row> rows = wrapperRows();
    for (const Row &row : rows)
        callWrapper(QString::fromLatin1(row.wrapper), row.args);
    QCOMPARE(adapter.queryNetSetting(), QString());
    // Not even the EDID pause is spent.
    QVERIFY(timer.elapsed() < protocoladapter::EdidPauseMs);

    QCOMPARE(sent.count(), 0);
    QCOMPARE(m_pty->readFor(100), QByteArray());
    QTest::qWait(50);
    QCOMPARE(m_peer->received(), QByteArray());
}

void TestAdapterWrappers::nothingAfterClosing_data()
{
    QTest::addColumn<QString>("transport");
    QTest::newRow("serial") << Serial;
    QTest::newRow("tcp") << Tcp;
}

void TestAdapterWrappers::nothingAfterClosing()
{
    QFETCH(QString, transport);
    protocoladapter &adapter = protocoladapter::instance();
    openLink(transport);
    if (transport == Serial)
        adapter.closeSerial();
    else
        QCOMPARE(adapter.disconnectTcp(), false);
    QVERIFY(!adapter.isConnected());

    QSignalSpy sent(&adapter, &protocoladapter::sendData);
    adapter.sendBuzzer(true);
    adapter.sendRaw(QStringLiteral("1D1V1."));
    QCOMPARE(sent.count(), 0);
    if (transport == Serial)
        QCOMPARE(m_pty->readFor(100), QByteArray());
    else
        QCOMPARE(m_peer->received(), QByteArray());
}

QTEST_GUILESS_MAIN(TestAdapterWrappers)
#include "tst_adapter_wrappers.moc"
