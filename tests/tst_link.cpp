// The adapter's links: which one carries the commands, the network card's answer read back, and devices that go away.
#include "link/netcardrules.h"
#include "link/netreply.h"
#include "link/protocoladapter.h"
#include "link/reconnectschedule.h"
#include "support/answeringpeer.h"
#include "support/logcapture.h"
#include "support/simprocess.h"
#include "support/tcppeer.h"
#include "support/testenv.h"

#include <QTcpSocket>
#include <QtTest>

using A = protocoladapter;
const QString Loopback = QStringLiteral("127.0.0.1");
const QString Baud = QStringLiteral("9600");
const QByteArray Answer = "HNW10.9.8.7,7000,255.255.0.0,10.9.8.1,02-00-00-00-00-07";

class TstLink : public QObject
{
    Q_OBJECT

    bool openSerial() { return A::instance().openSerial(m_pty->slavePath(), Baud); }
    bool connectTcp() { return A::instance().connectTcp(Loopback, m_peer->portText()); }

    std::unique_ptr<TestEnv> m_env;
    std::unique_ptr<PtyPair> m_pty;
    std::unique_ptr<TcpPeer> m_peer;
    // Bound for itself alone and never listening: its port refuses every connection.
    QTcpSocket m_refused;
    QString m_refusedPort;

private slots:
    void initTestCase()
    {
        m_env = std::make_unique<TestEnv>();
        QVERIFY(m_refused.bind(QHostAddress::LocalHost, 0, QAbstractSocket::DontShareAddress));
        m_refusedPort = QString::number(m_refused.localPort());
    }

    void init()
    {
        m_pty = std::make_unique<PtyPair>();
        m_peer = std::make_unique<TcpPeer>();
    }

    void cleanup()
    {
        A::instance().closeSerial();
        A::instance().disconnectTcp();
    }

    void links_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("carrier");
        // serial, tcp: opened; !: failed, refused; -: closed by the program; ~: closed by the device.
        const char *rows[][2] = {
            { "serial", "serial" }, { "tcp", "tcp" }, { "serial tcp", "tcp" }, { "tcp serial", "serial" },
            { "!serial", "none" }, { "!tcp", "none" }, { "serial !tcp", "serial" }, { "tcp !serial", "tcp" },
            { "serial tcp !tcp", "serial" }, { "serial tcp -serial", "tcp" }, { "tcp serial -serial", "tcp" },
            { "serial tcp -tcp", "serial" }, { "tcp serial -tcp", "serial" }, { "serial tcp -tcp -serial", "none" },
            { "serial ~serial", "none" }, { "tcp ~tcp", "none" }, { "serial tcp ~serial", "tcp" },
            { "tcp serial ~serial", "tcp" }, { "serial tcp ~tcp", "serial" }, { "tcp serial ~tcp", "serial" },
            { "serial ~serial serial", "serial" }, { "tcp ~tcp tcp", "tcp" },
        };
        for (const auto &row : rows)
            QTest::newRow(row[0]) << QString::fromLatin1(row[0]) << QString::fromLatin1(row[1]);
    }

    // Where a command goes after these steps. A link the device closes is
    // reported once; the program's own closes are no drops.
    void links()
    {
        QFETCH(QString, steps);
        QFETCH(QString, carrier);
        A &adapter = A::instance();
        const LogCapture log;
        QSignalSpy dropped(&adapter, &A::linkDropped);
        QSignalSpy failed(&adapter, &A::linkFailed);
        int drops = 0;
        bool serial = false;
        bool tcp = false;
        for (const QString &step : steps.split(QLatin1Char(' '))) {
            if (step == QLatin1String("serial")) {
                QVERIFY(serial = openSerial());
            } else if (step == QLatin1String("!serial")) {
                QVERIFY(!adapter.openSerial(m_env->filePath(QStringLiteral("no-such-port")), Baud));
            } else if (step == QLatin1String("tcp")) {
                QVERIFY(tcp = connectTcp());
            } else if (step == QLatin1String("!tcp")) {
                QVERIFY(!(tcp = adapter.connectTcp(Loopback, m_refusedPort)));
            } else if (step == QLatin1String("-tcp")) {
                QVERIFY(!(tcp = adapter.disconnectTcp()));
            } else if (step == QLatin1String("-serial")) { // The device went away just before: still no drop.
                m_pty->closeMaster();
                adapter.closeSerial();
                m_pty = std::make_unique<PtyPair>();
                serial = false;
            } else {
                const A::LinkKind kind = step == QLatin1String("~serial") ? A::SerialLink : A::TcpLink;
                QTRY_VERIFY(kind == A::SerialLink || m_peer->hasClient());
                kind == A::SerialLink ? m_pty->closeMaster() : m_peer->dropClient();
                QVERIFY(dropped.wait(2000));
                // A second report would have been queued by now.
                QCoreApplication::processEvents();
                QCOMPARE(dropped.count(), ++drops);
                QCOMPARE(dropped.last().at(0).value<A::LinkKind>(), kind);
                (kind == A::SerialLink ? serial : tcp) = false;
                if (kind == A::SerialLink)
                    m_pty = std::make_unique<PtyPair>();
            }
        }
        QCOMPARE(adapter.isSerialOpen(), serial);
        QCOMPARE(adapter.isTcpConnected(), tcp);
        QCOMPARE(adapter.isConnected(), serial || tcp);
        QCOMPARE(adapter.isTcpLinkTo(Loopback, m_peer->portText()), tcp);
        QVERIFY(!adapter.isTcpLinkTo(QStringLiteral("localhost"), m_peer->portText()));
        QVERIFY(!adapter.isTcpLinkTo(Loopback, m_refusedPort));
        QCoreApplication::processEvents();
        QCOMPARE(dropped.count(), drops);
        QCOMPARE(failed.count(), drops + steps.count('!'));

        QSignalSpy sent(&adapter, &A::sendData);
        adapter.sendBuzzer(true);
        QCOMPARE(sent.count(), carrier == QLatin1String("none") ? 0 : 1);
        // A sentinel down each link in turn: each stream shows where the buzzer went, and only there.
        adapter.disconnectTcp();
        if (!adapter.isSerialOpen())
            QVERIFY(openSerial());
        adapter.sendRaw(QStringLiteral("S"));
        const QByteArray serialStream = QByteArray(carrier == QLatin1String("serial") ? "1BUZON" : "") + 'S';
        // Read before closing: closing clears what the device has not taken yet.
        QCOMPARE(m_pty->readAtLeast(serialStream.size()), serialStream);
        adapter.closeSerial();
        QVERIFY(connectTcp());
        adapter.sendRaw(QStringLiteral("T"));
        const QByteArray tcpStream = QByteArray(carrier == QLatin1String("tcp") ? "1BUZON" : "") + 'T';
        QVERIFY(m_peer->waitForBytes(tcpStream.size()));
        QCOMPARE(m_peer->received(), tcpStream);
        QCOMPARE(log.lines().filter(QStringLiteral("dropped")).size(), drops);
        QCOMPARE(!log.lines().filter(QStringLiteral("refused")).isEmpty(), steps.contains(QLatin1String("!tcp")));
    }

    void query_data()
    {
        QTest::addColumn<int>("transport");
        QTest::addColumn<bool>("otherOpen");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, const QByteArray &answer, const QString &expected, bool otherOpen) {
            for (int transport : { int(AnsweringPeer::Tcp), int(AnsweringPeer::Pty) })
                QTest::addRow("%s: %s", transport == AnsweringPeer::Tcp ? "tcp" : "serial", name)
                    << transport << otherOpen << answer << expected;
        };
        row("answer", Answer, QString::fromLatin1(Answer), false);
        row("other link open", Answer, QString::fromLatin1(Answer), true);
        row("in pieces", QByteArray(Answer).insert(40, '|').insert(20, '|'), QString::fromLatin1(Answer), false);
        row("text ends at NUL", QByteArray("HNW1,2\0XYZ", 10), QStringLiteral("HNW1,2"), false);
        row("NUL bytes first", QByteArray(24, '\0') + Answer, QString(), false);
        row("half an answer", Answer.left(20), QString::fromLatin1(Answer.left(20)), false);
        row("1000 bytes: 67 taken", QByteArray(67, 'N') + QByteArray(933, '\x01'), QString(67, 'N'), false);
        row("utf-8", "HNW\xc3\xa9", QStringLiteral("HNW\u00e9"), false);
        // A TCP answer that never comes is waited for 30 s; the serial line waits 100 ms.
        QTest::newRow("serial: no answer") << int(AnsweringPeer::Pty) << false << QByteArray() << QString();
    }

    // The answer is read from the link the query went out on, whatever the
    // other link holds; what it left unread is no part of the next answer.
    void query()
    {
        QFETCH(int, transport);
        QFETCH(bool, otherOpen);
        QFETCH(QByteArray, answer);
        QFETCH(QString, expected);
        A &adapter = A::instance();
        const bool tcp = transport == AnsweringPeer::Tcp;
        AnsweringPeer peer(static_cast<AnsweringPeer::Transport>(transport));
        QVERIFY(peer.startPeer());
        peer.setAnswer("HWC", answer);
        if (otherOpen)
            QVERIFY(tcp ? openSerial() : connectTcp());
        m_pty->write("stale");
        QVERIFY(tcp ? adapter.connectTcp(Loopback, peer.portText()) : adapter.openSerial(peer.portName(), Baud));
        QSignalSpy failed(&adapter, &A::linkFailed); // "no answer to HWC"
        QCOMPARE(adapter.queryNetSetting(), expected);
        QCOMPARE(adapter.queryNetSetting(), expected);
        QCOMPARE(failed.count(), answer.isEmpty() ? 2 : 0);
        QCOMPARE(peer.received(), QByteArray("HWCHWC"));
    }

    // A serial answer 150 ms late is no answer, not even to the next query; TCP waits for it.
    void lateAnswer()
    {
        SimProcess sim;
        QVERIFY(sim.start({ QStringLiteral("--pty"), QStringLiteral("--reply-delay"), QStringLiteral("150") }));
        QVERIFY(A::instance().openSerial(sim.ptyPath(), Baud));
        QCOMPARE(A::instance().queryNetSetting(), QString());
        QTRY_COMPARE(sim.events().last().value(QStringLiteral("event")).toString(), QStringLiteral("reply"));
        QCOMPARE(A::instance().queryNetSetting(), QString());
        QVERIFY(A::instance().connectTcp(Loopback, sim.portText()));
        QVERIFY(A::instance().queryNetSetting().startsWith(QLatin1String("HNW")));
    }

    void netCardRules_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("reach"); // per entry: + reaches, 0 no link, x the TCP link is to another device
        QTest::addColumn<int>("answering");
        QTest::newRow("no link") << "none" << "000" << -1;
        QTest::newRow("serial: every entry, the answer's address names it") << "serial" << "+++" << 2;
        QTest::newRow("tcp: only the entry at the other end") << "tcp" << "+xx" << 0;
    }

    // Which entry of the book a network card command reaches, which one an answer updates, and what it
    // keeps of it: the operator's name, also through a reset.
    void netCardRules()
    {
        QFETCH(QString, link);
        QFETCH(QString, reach);
        QFETCH(int, answering);
        const QList<DeviceEntry> book = {{Loopback, m_peer->portText(), "", "", "", "A"}, {Loopback, m_refusedPort, "", "", "", "B"},
                                         {"10.9.8.7", m_peer->portText(), "", "", "", "C"}};
        if (link != QLatin1String("none"))
            QVERIFY(link == QLatin1String("tcp") ? connectTcp() : openSerial());
        QString reached;
        for (const DeviceEntry &entry : book) {
            const NetCardRules::Reach r = NetCardRules::reach(A::instance(), entry);
            reached += r == NetCardRules::Reach::Reaches ? '+' : r == NetCardRules::Reach::NoLink ? '0' : 'x';
        }
        QCOMPARE(reached, reach);
        DeviceEntry answer;
        QCOMPARE(NetReply::parse(QString::fromLatin1(Answer), &answer), NetReply::Result::Ok);
        if (answering < 0)
            return;
        QCOMPARE(NetCardRules::answeringRow(A::instance(), book, answer), answering);
        const DeviceEntry kept = NetCardRules::withSettings(answer, book.at(answering));
        QCOMPARE(kept, DeviceEntry({"10.9.8.7", "7000", "255.255.0.0", "10.9.8.1", "02-00-00-00-00-07", book.at(answering).alias}));
        QCOMPARE(NetCardRules::afterReset(kept),
                 DeviceEntry({"192.168.1.168", "6800", "255.255.255.0", "192.168.1.1", "", book.at(answering).alias}));
    }

    // A dropped link is tried at once, then ever less often, but never less than every 5 s.
    void reconnectBackoff()
    {
        ReconnectSchedule schedule;
        QList<int> delays;
        for (int i = 0; i < 12; ++i)
            delays << schedule.nextDelayMs();
        QCOMPARE(delays, (QList<int> {0, 500, 1000, 2000, 4000, 5000, 5000, 5000, 5000, 5000, 5000, 5000}));
        QCOMPARE(schedule.attempts(), 12);
        schedule.reset();
        QCOMPARE(schedule.nextDelayMs(), 0);
    }
};

QTEST_GUILESS_MAIN(TstLink)
#include "tst_link.moc"
