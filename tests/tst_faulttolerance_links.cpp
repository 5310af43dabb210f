// The whole window against devices that misbehave on a real link (TCP on
// 127.0.0.1 or a pseudo-terminal): a peer that goes away mid-run, and network
// cards that answer garbage, NUL bytes, half an answer or nothing. The window
// must stay alive and answer, keep its files, and say in the debug log what
// happened.
#include "app/mainwindow.h"
#include "link/protocoladapter.h"
#include "support/answeringpeer.h"
#include "support/logcapture.h"
#include "support/testenv.h"
#include "support/windowdriver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTextEdit>
#include <QtTest>

#include <memory>

namespace {

constexpr char RouteCommand[] = "1D3V2,5.";
// The device that Get is asked about; the answers below name it.
const QString CardAddress = QStringLiteral("10.9.8.7");

QByteArray device(const QString &ip, const QString &port, const QString &alias)
{
    return QStringLiteral(R"({"alias":"%1","gateway":"127.0.0.254","ip":"%2","mac":"","port":"%3","subnet":"255.0.0.0"})")
        .arg(alias, ip, port)
        .toUtf8();
}

QByteArray book(const QList<QByteArray> &devices)
{
    return "{\"items\":[" + devices.join(',') + "]}";
}

QByteArray garbage(int size)
{
    QRandomGenerator generator(size);
    QByteArray bytes;
    for (int i = 0; i < size; ++i)
        bytes.append(static_cast<char>(generator.bounded(256)));
    // Never by chance the start of an answer.
    if (bytes.startsWith("HNW"))
        bytes[0] = 'X';
    return bytes;
}

QStringList ipsInBook(const QByteArray &file)
{
    QStringList ips;
    const QJsonArray items = QJsonDocument::fromJson(file).object().value(QStringLiteral("items")).toArray();
    for (const QJsonValue &item : items)
        ips << item.toObject().value(QStringLiteral("ip")).toString();
    return ips;
}

} // namespace

class TestFaultToleranceLinks : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void tcpPeerGoesAwayDuringPoll();
    void ptyGoesAwayWhileOpen();
    void networkCardAnswers_data();
    void networkCardAnswers();

private:
    // A fresh window over the given address book, shown and exposed.
    void startWindow(const QByteArray &addressBook);
    // The window still takes clicks: the hex switch of the debug console
    // toggles, and on a live link a route reaches the device.
    void checkResponsive(AnsweringPeer *linkedPeer);

    std::unique_ptr<TestEnv> m_env;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<WindowDriver> m_driver;
};

void TestFaultToleranceLinks::initTestCase()
{
    m_env = std::make_unique<TestEnv>(true);
    m_env->writeFile(QStringLiteral("AppConfig.ini"), "[General]\nlangType=2\n");
}

void TestFaultToleranceLinks::cleanup()
{
    m_driver.reset();
    m_window.reset();
    protocoladapter::instance().closeSerial();
    protocoladapter::instance().disconnectTcp();
}

void TestFaultToleranceLinks::startWindow(const QByteArray &addressBook)
{
    m_env->writeFile(QStringLiteral("ipmanager"), addressBook);
    m_window = std::make_unique<MainWindow>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_driver = std::make_unique<WindowDriver>(m_window.get());
    QVERIFY2(m_driver->selectRoute(3, { 2, 5 }), qPrintable(m_driver->error()));
}

void TestFaultToleranceLinks::checkResponsive(AnsweringPeer *linkedPeer)
{
    QCoreApplication::processEvents();
    QVERIFY(m_window->isVisible());
    QCheckBox *hex = m_driver->hexSwitch();
    QVERIFY(hex);
    const bool wasChecked = hex->isChecked();
    m_driver->click(hex);
    QCOMPARE(hex->isChecked(), !wasChecked);
    m_driver->click(hex);
    if (linkedPeer) {
        linkedPeer->clearReceived();
        m_driver->click(m_driver->switchButton());
        QTRY_COMPARE(linkedPeer->received(), QByteArray(RouteCommand));
    }
}

// The connection closes under a running poll: the run keeps ticking (a closed
// link does not stop it), nothing more is sent or logged as sent, the panel
// shows the link down, and a new connect and a route work at once.
void TestFaultToleranceLinks::tcpPeerGoesAwayDuringPoll()
{
    LogCapture log;
    AnsweringPeer peer(AnsweringPeer::Tcp);
    QVERIFY(peer.startPeer());
    const QByteArray addressBook = book({ device(QStringLiteral("127.0.0.1"), peer.portText(), QStringLiteral("sim")) });
    startWindow(addressBook);

    QVERIFY2(m_driver->connectNet(), qPrintable(m_driver->error()));
    QTRY_VERIFY(peer.isLinked());
    QVERIFY(protocoladapter::instance().isTcpConnected());
    QVERIFY(m_driver->netButton(QStringLiteral("disconnect")));

    QVERIFY2(m_driver->openPollPage(), qPrintable(m_driver->error()));
    m_driver->click(m_driver->pollButton());
    QTRY_VERIFY(peer.received().count('.') >= 2);

    peer.closeLink();
    QTRY_VERIFY(log.contains(QStringLiteral("TCP link dropped")));
    QTRY_VERIFY(m_driver->netButton(QStringLiteral("connect")));
    QVERIFY(!protocoladapter::instance().isConnected());

    const int loggedLines = m_driver->textLog()->document()->blockCount();
    QTest::qWait(350);
    QCOMPARE(m_driver->pollButton()->text(), QStringLiteral("Stop Poll"));
    QCOMPARE(m_driver->textLog()->document()->blockCount(), loggedLines);
    m_driver->click(m_driver->pollButton());
    QCOMPARE(m_driver->pollButton()->text(), QStringLiteral("Start Poll"));
    QVERIFY(m_driver->closePollPage());

    m_driver->click(m_driver->netButton(QStringLiteral("connect")));
    QTRY_VERIFY(peer.isLinked());
    checkResponsive(&peer);

    // The address book is the program's to write at exit, not before.
    QCOMPARE(m_env->readFile(QStringLiteral("ipmanager")), addressBook);
    m_driver.reset();
    m_window.reset();
    QCOMPARE(ipsInBook(m_env->readFile(QStringLiteral("ipmanager"))), QStringList { QStringLiteral("127.0.0.1") });
}

// The other side of the serial line goes away: the port is closed and shown
// closed, a click on Switch afterwards sends and logs nothing, and the same
// port path can be typed and opened again once a device is back.
void TestFaultToleranceLinks::ptyGoesAwayWhileOpen()
{
    LogCapture log;
    auto peer = std::make_unique<AnsweringPeer>(AnsweringPeer::Pty);
    QVERIFY(peer->startPeer());
    startWindow(book({}));

    QVERIFY2(m_driver->connectSerial(peer->portName()), qPrintable(m_driver->error()));
    QTRY_VERIFY(log.contains(QStringLiteral("open port")));
    m_driver->click(m_driver->switchButton());
    QTRY_COMPARE(peer->received(), QByteArray(RouteCommand));

    peer->closeLink();
    QTRY_VERIFY(log.contains(QStringLiteral("serial link dropped")));
    QTRY_COMPARE(m_driver->serialConnectButton()->text(), QStringLiteral("connect"));
    QVERIFY(!protocoladapter::instance().isSerialOpen());
    QVERIFY(m_driver->serialPortList()->isEnabled());

    const int loggedLines = m_driver->textLog()->document()->blockCount();
    m_driver->click(m_driver->switchButton());
    QCoreApplication::processEvents();
    QCOMPARE(m_driver->textLog()->document()->blockCount(), loggedLines);
    checkResponsive(nullptr);

    auto back = std::make_unique<AnsweringPeer>(AnsweringPeer::Pty);
    QVERIFY(back->startPeer());
    QVERIFY(m_driver->connectSerial(back->portName()));
    QTRY_VERIFY(protocoladapter::instance().isSerialOpen());
    checkResponsive(back.get());
}

void TestFaultToleranceLinks::networkCardAnswers_data()
{
    QTest::addColumn<int>("transport");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QString>("logged");
    QTest::addColumn<bool>("taken");

    const QString noSettings = QStringLiteral("no network settings in the answer; nothing changed");
    const QString twoFields = QStringLiteral("network settings answer has 2 of 5 fields");
    const QByteArray full = "HNW" + CardAddress.toLatin1() + ",7000,255.255.0.0,10.9.8.1,02:00:00:00:00:07";
    const struct {
        const char *name;
        QByteArray answer;
        QString logged;
        bool taken;
    } answers[] = {
        { "full answer", full, QStringLiteral("vvvvv"), true },
        { "1000 bytes of garbage", garbage(1000), noSettings, false },
        { "NUL bytes first", QByteArray(24, '\0') + full, noSettings, false },
        { "answer cut by a NUL", "HNW" + CardAddress.toLatin1() + ",7000" + QByteArray(1, '\0') + ",255.0.0.0,1.2.3.4,AA",
          twoFields, false },
        { "truncated HNW line", "HNW" + CardAddress.toLatin1() + ",70", twoFields, false },
        { "answer ends in the middle of a UTF-8 sequence", full.left(60) + "\xe5\xa4", QStringLiteral("vvvvv"), true },
    };
    for (int transport : { int(AnsweringPeer::Tcp), int(AnsweringPeer::Pty) }) {
        const char *prefix = transport == AnsweringPeer::Tcp ? "tcp" : "pty";
        for (const auto &a : answers)
            QTest::addRow("%s: %s", prefix, a.name) << transport << a.answer << a.logged << a.taken;
    }
    // A TCP answer that never comes is waited for up to 30 s by design; the
    // serial side shows the same handling in 100 ms.
    QTest::addRow("pty: no answer at all") << int(AnsweringPeer::Pty) << QByteArray() << noSettings << false;
}

// Get asks the card for its settings: whatever comes back, the row of the card
// changes only for a whole answer, the window goes on answering, and the
// address book keeps every device.
void TestFaultToleranceLinks::networkCardAnswers()
{
    QFETCH(int, transport);
    QFETCH(QByteArray, answer);
    QFETCH(QString, logged);
    QFETCH(bool, taken);

    LogCapture log;
    AnsweringPeer peer(static_cast<AnsweringPeer::Transport>(transport));
    QVERIFY(peer.startPeer());
    peer.setAnswer("HWC", answer);
    const QString localPort = transport == AnsweringPeer::Tcp ? peer.portText() : QStringLiteral("6800");
    startWindow(book({ device(QStringLiteral("127.0.0.1"), localPort, QStringLiteral("here")),
                       device(CardAddress, QStringLiteral("6800"), QStringLiteral("card")) }));

    if (transport == AnsweringPeer::Tcp) {
        QVERIFY(m_driver->connectNet());
        QTRY_VERIFY(peer.isLinked());
    } else {
        QVERIFY(m_driver->connectSerial(peer.portName()));
        QTRY_VERIFY(protocoladapter::instance().isSerialOpen());
    }
    QPushButton *get = m_driver->netButton(QStringLiteral("Get"));
    QVERIFY(get && get->isEnabled());

    m_driver->click(get);
    QVERIFY(peer.received().contains("HWC"));
    QVERIFY(log.contains(QStringLiteral("XXXXXX")));
    QVERIFY2(log.contains(logged), qPrintable(log.lines().join(QLatin1Char('\n'))));

    QCOMPARE(m_driver->deviceCell(1, 1), CardAddress);
    QCOMPARE(m_driver->deviceCell(1, 2), taken ? QStringLiteral("7000") : QStringLiteral("6800"));
    // A row that Get fills loses its alias, as with every new address.
    QCOMPARE(m_driver->deviceCell(1, 3), taken ? QString() : QStringLiteral("card"));
    QCOMPARE(m_driver->deviceCell(0, 1), QStringLiteral("127.0.0.1"));

    // Whatever the garbage left behind, the next command goes out clean.
    checkResponsive(&peer);
    m_driver.reset();
    m_window.reset();
    QCOMPARE(ipsInBook(m_env->readFile(QStringLiteral("ipmanager"))),
             (QStringList { QStringLiteral("127.0.0.1"), CardAddress }));
}

QTEST_MAIN(TestFaultToleranceLinks)
#include "tst_faulttolerance_links.moc"
