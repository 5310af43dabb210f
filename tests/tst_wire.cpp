// The wire: the bytes the device receives for every command the program can
// send, over the serial port and over TCP, and the serial line it sets up.
#include "config/linkparameters.h"
#include "link/protocoladapter.h"
#include "support/answeringpeer.h"
#include "support/testenv.h"

#include <QtTest>

#include <dlfcn.h>
#include <termios.h>

#include <functional>
#include <memory>

namespace {

enum Transport { Serial, Tcp };
using A = protocoladapter;

const int MatrixIds[3] = { 1, 12, 0 };
const QByteArray NetSetting = "HWS10.1.2.3.255.255.0.0.10.1.0.1";

// The call and the bytes it sends for matrix ID 1, 12 and 0; ID 0 addresses every matrix.
const struct Command
{
    const char *name;
    std::function<void(A &)> call;
    QByteArray bytes[3];
} Commands[] = {
    { "switch", [](A &a) { a.sendSwitch(3, 16); }, { "1D3V16.", "12D3V16.", "3V16." } },
    { "multi", [](A &a) { a.sendSwitchMulti(2, { "1", "10", "11" }); },
      { "1D2V1,10,11.", "12D2V1,10,11.", "2V1,10,11." } },
    { "to all", [](A &a) { a.sendSwitchToAll(3); }, { "1D03TOALL.", "12D03TOALL.", "03TOALL." } },
    { "to all 10", [](A &a) { a.sendSwitchToAll(10); }, { "1D10TOALL.", "12D10TOALL.", "10TOALL." } },
    { "one by one", [](A &a) { a.sendOneByOne(); }, { "1TOONE.", "12TOONE.", "TOONE." } },
    { "save", [](A &a) { a.sendSaveScene(10); }, { "1SAVE10", "12SAVE10", "SAVE10" } },
    { "call", [](A &a) { a.sendCallScene(16); }, { "1CALL16", "12CALL16", "CALL16" } },
    { "buzzer on", [](A &a) { a.sendBuzzer(true); }, { "1BUZON", "12BUZON", "BUZON" } },
    { "buzzer off", [](A &a) { a.sendBuzzer(false); }, { "1BUZOFF", "12BUZOFF", "BUZOFF" } },
    { "edid", [](A &a) { a.sendEdid(3, 16); }, { "1D16E3.", "12D16E3.", "16E3." } },
    { "net setting", [](A &a) { a.sendNetSetting("10.1.2.3", "255.255.0.0", "10.1.0.1"); },
      { NetSetting, NetSetting, NetSetting } },
    { "net reset", [](A &a) { a.sendNetReset(); }, { "HWR", "HWR", "HWR" } },
    { "raw", [](A &a) { a.sendRaw("HDMI1d"); }, { "HDMI1d", "HDMI1d", "HMI1d" } },
    { "raw with leading 0", [](A &a) { a.sendRaw("00D1"); }, { "0D1", "0D1", "01" } },
    { "raw bytes", [](A &a) { a.sendRawBytes("0D\xff\x80"); }, { "D\xff\x80", "D\xff\x80", "\xff\x80" } },
};

QVector<termios> g_asked;

} // namespace

// Every line setting the process asks for, as asked: a pseudo-terminal keeps 8
// data bits and no parity whatever it is told, so only the request shows them.
extern "C" int tcsetattr(int fd, int action, const termios *tio)
{
    g_asked.append(*tio);
    static const auto real = reinterpret_cast<int (*)(int, int, const termios *)>(dlsym(RTLD_NEXT, "tcsetattr"));
    return real(fd, action, tio);
}

class TstWire : public QObject
{
    Q_OBJECT

    bool open(int transport)
    {
        return transport == Serial ? A::instance().openSerial(m_serial->portName(), QStringLiteral("9600"))
                                   : A::instance().connectTcp(QStringLiteral("127.0.0.1"), m_tcp->portText());
    }
    // The device's next bytes, waited for without the event loop: a command is on the wire when its call returns.
    QByteArray next(int transport, int count)
    {
        AnsweringPeer &peer = transport == Serial ? *m_serial : *m_tcp;
        QElapsedTimer waited;
        waited.start();
        while (peer.received().size() < count && waited.elapsed() < 3000)
            QThread::msleep(1);
        const QByteArray bytes = peer.received();
        peer.clearReceived();
        return bytes;
    }

    std::unique_ptr<TestEnv> m_env;
    std::unique_ptr<AnsweringPeer> m_serial;
    std::unique_ptr<AnsweringPeer> m_tcp;

private slots:
    void initTestCase()
    {
        m_env = std::make_unique<TestEnv>();
        m_serial = std::make_unique<AnsweringPeer>(AnsweringPeer::Pty);
        m_tcp = std::make_unique<AnsweringPeer>(AnsweringPeer::Tcp);
        QVERIFY(m_serial->startPeer() && m_tcp->startPeer());
    }

    void cleanup()
    {
        A::instance().closeSerial();
        A::instance().disconnectTcp();
        linkParameters().matrixId = 1;
    }

    void everyCommand_data()
    {
        QTest::addColumn<int>("transport");
        QTest::newRow("serial") << int(Serial);
        QTest::newRow("tcp") << int(Tcp);
    }

    // Before the first link and after closing one, every command is dropped and
    // none is announced as sent: what the next link carries first is the next command.
    void everyCommand()
    {
        QFETCH(int, transport);
        A &adapter = A::instance();
        QSignalSpy sent(&adapter, &A::sendData);
        const auto sendAll = [&adapter] {
            for (const Command &command : Commands)
                command.call(adapter);
            return adapter.queryNetSetting();
        };
        QCOMPARE(sendAll(), QString());
        QVERIFY(open(transport));
        QElapsedTimer sinceEdid;
        for (const Command &command : Commands) {
            for (int i = 0; i < 3; ++i) {
                linkParameters().matrixId = MatrixIds[i];
                const QString label = QStringLiteral("%1, ID %2: ").arg(command.name).arg(MatrixIds[i]);
                const QString expected = label + QString::fromLatin1(command.bytes[i]);
                QElapsedTimer started;
                started.start();
                command.call(adapter);
                QCOMPARE(QString(label + QString::fromLatin1(next(transport, command.bytes[i].size()))), expected);
                QCOMPARE(QString(label + sent.value(sent.count() - 1).value(0).toString()), expected);
                // The device needs a second to take an EDID write: nothing may follow sooner.
                if (sinceEdid.isValid())
                    QVERIFY2(sinceEdid.elapsed() >= 900, qPrintable(label + QString::number(sinceEdid.elapsed())));
                sinceEdid = qstrcmp(command.name, "edid") == 0 ? started : QElapsedTimer();
            }
        }
        QVERIFY(adapter.sendNetReset() && next(transport, 3) == "HWR");
        cleanup();
        QVERIFY(!adapter.sendNetReset());
        QCOMPARE(sendAll(), QString());
        QVERIFY(open(transport));
        adapter.sendRaw(QStringLiteral("A"));
        QCOMPARE(next(transport, 1), QByteArray("A"));
        QCOMPARE(sent.count(), int(std::size(Commands)) * 3 + 2);
    }

    // 8 data bits, no parity, 1 stop bit and no flow control in every setting
    // the port is given while it opens, and the chosen speed in the last one.
    void serialLine()
    {
        for (const auto &[baud, speed] : { std::pair("115200", B115200), std::pair("9600", B9600) }) {
            g_asked.clear();
            QVERIFY(A::instance().openSerial(m_serial->portName(), QString::fromLatin1(baud)));
            QVERIFY(!g_asked.isEmpty());
            for (const termios &tio : qAsConst(g_asked)) {
                QCOMPARE(tio.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS), tcflag_t(CS8));
                QCOMPARE(tio.c_iflag & (IXON | IXOFF | IXANY), tcflag_t(0));
            }
            QCOMPARE(cfgetospeed(&g_asked.last()), speed);
            A::instance().closeSerial();
        }
    }
};

QTEST_GUILESS_MAIN(TstWire)
#include "tst_wire.moc"
