#include "videohubparser.h"
#include "support/simprocess.h"
#include "support/testenv.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QTcpSocket>
#include <QtTest>

#include <memory>

// The built matrix-gateway in the working directory, with the ports its JSON log announces.
class Gateway
{
public:
    ~Gateway()
    {
        m_process.terminate();
        m_process.waitForFinished(3000);
    }
    bool start(const QStringList &args)
    {
        m_process.start(QStringLiteral(MC_GATEWAY_PATH),
                        args + QStringList { "--json", "--videohub", "127.0.0.1:0", "--gap", "5" });
        return QTest::qWaitFor([this] { return linkUp() || m_process.state() == QProcess::NotRunning; }, 5000)
            && linkUp();
    }
    quint16 port(const QString &service)
    {
        for (const QJsonObject &e : events())
            if (e.value("event") == "listening" && e.value("service") == service)
                return quint16(e.value("port").toInt());
        return 0;
    }
    bool linkUp() { return lastLinkState() == "up"; }
    QString lastLinkState()
    {
        QString state;
        for (const QJsonObject &e : events())
            state = e.value("event") == "link" ? e.value("state").toString() : state;
        return state;
    }
    QList<QJsonObject> events()
    {
        while (m_process.canReadLine())
            m_events << QJsonDocument::fromJson(m_process.readLine()).object();
        return m_events;
    }

private:
    QProcess m_process;
    QList<QJsonObject> m_events;
};

// A Videohub client as the reference describes it, from a given loopback address; keeps whole blocks.
class Client : public QTcpSocket
{
public:
    Client(quint16 port, const char *from = "127.0.0.1")
    {
        bind(QHostAddress(QString(from)));
        connectToHost(QHostAddress::LocalHost, port);
        connect(this, &QTcpSocket::readyRead, this, [this] { m_data += readAll(); });
    }
    // The next count blocks, each with its final empty line; empty on a timeout.
    QByteArray take(int count = 1)
    {
        int end = 0;
        const bool ok = QTest::qWaitFor([&] {
            end = 0;
            for (int i = 0; i < count && end >= 0; ++i)
                end = m_data.indexOf("\n\n", end) < 0 ? -1 : m_data.indexOf("\n\n", end) + 2;
            return end > 0;
        }, 5000);
        return ok ? std::exchange(m_data, m_data.mid(end)).left(end) : QByteArray();
    }
    // Blocks up to and including the one starting with header.
    QByteArray takeThrough(const QByteArray &header)
    {
        QByteArray out;
        while (!out.startsWith(header) && !out.contains(QByteArray("\n\n" + header))) {
            const QByteArray next = take();
            if (next.isEmpty())
                return out;
            out += next;
        }
        return out;
    }

private:
    QByteArray m_data;
};

static QString describe(const QList<VideohubParser::Block> &blocks)
{
    QStringList out;
    for (const auto &b : blocks)
        out << b.header + "[" + b.lines.join(';') + "]";
    return out.join(' ');
}

static QStringList simTexts(SimProcess &sim, int from)
{
    QStringList out;
    for (const QJsonObject &e : sim.events())
        if (e.value("event") == "command")
            out << e.value("text").toString();
    return out.mid(from);
}

class TestGateway : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnv> m_env;
    SimProcess m_sim;
    Gateway m_gateway;
    int m_sentinel = 0;

    int simCount() { return simTexts(m_sim, 0).size(); }

private slots:
    void initTestCase()
    {
        m_env.reset(new TestEnv);
        m_env->writeFile("AliasConfig.ini", "[InputAlias]\n1=Camera one\n[OutputAlias]\n1=Projector\n");
        m_env->writeFile("RouteState.json", R"({"inputs":16,"outputs":16,"routing":[0,7]})");
        QVERIFY(m_sim.start());
        QVERIFY(m_gateway.start({ "--tcp", "127.0.0.1:" + m_sim.portText() }));
    }

    void parser_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QString>("blocks");
        QTest::newRow("crlf") << QByteArray("PING:\r\n\r\nvideo output routing:\r\n4 2\r\n\r\n") << "PING[] VIDEO OUTPUT ROUTING[4 2]";
        QTest::newRow("lone cr") << QByteArray("INPUT LABELS:\r2 Camera 3\r\r") << "INPUT LABELS[2 Camera 3]";
        QTest::newRow("telnet nul blanks") << QByteArray("\xff\xfc\x18\xff\xfa\x18\x01\xff\xf0\xff\xf1\n\n\nPI\0NG:\n\n", 22) << "PING[]";
        QTest::newRow("blanks") << QByteArray("  OUTPUT LABELS: \n   3 A  B \n\n") << "OUTPUT LABELS[3 A  B ]";
        QTest::newRow("unfinished") << QByteArray("PING:\n") << "";
        QTest::newRow("garbage") << QByteArray("hello\n") << "!";
        QTest::newRow("control") << QByteArray("PING:\n\x01\n\n") << "!";
        QTest::newRow("bad utf-8") << QByteArray("INPUT LABELS:\n1 \xc3\n\n") << "!";
        QTest::newRow("bad telnet") << QByteArray("\xff\x41PING:\n\n") << "!";
        QTest::newRow("long line") << QByteArray(4097, 'A') << "!";
        QTest::newRow("big block") << "INPUT LABELS:\n" + QByteArray("1 a\n").repeated(1025) << "!";
    }

    // Whole or byte by byte, the same blocks; an error ends the parse for good.
    void parser()
    {
        QFETCH(QByteArray, input);
        QFETCH(QString, blocks);
        for (int step : { 0, 1 }) {
            VideohubParser parser;
            QList<VideohubParser::Block> got;
            for (int i = 0; i < input.size(); i += step ? step : input.size())
                got += parser.feed(input.mid(i, step ? step : -1));
            const bool failed = parser.error() != VideohubParser::Error::None;
            QCOMPARE(failed ? QString("!") : describe(got), blocks);
            if (failed)
                QVERIFY(parser.feed("\nPING:\n\n").isEmpty());
        }
    }

    // The dump, field by field, with the window's names and the stored routing.
    void dump()
    {
        Client a(m_gateway.port("videohub"));
        const QList<QByteArray> blocks = a.takeThrough("END PRELUDE:").split('\n');
        const QByteArray text = blocks.join('\n');
        QVERIFY(text.startsWith("PROTOCOL PREAMBLE:\nVersion: 2.8\n\nVIDEOHUB DEVICE:\nDevice present: true\n"));
        QVERIFY(text.contains("\nVideo inputs: 16\nVideo processing units: 0\nVideo outputs: 16\n"
                              "Video monitoring outputs: 0\nSerial ports: 0\n\nINPUT LABELS:\n0 Camera one\n1 "));
        QVERIFY(text.contains("\nOUTPUT LABELS:\n0 Projector\n"));
        QVERIFY(text.contains("\n15 U\n\nVIDEO OUTPUT ROUTING:\n0 0\n1 6\n2 2\n"));
        QVERIFY(text.endsWith("\n15 15\n\nCONFIGURATION:\nTake Mode: false\n\nEND PRELUDE:\n\n"));
        QVERIFY(!text.contains('\r'));
    }

    void requests_data()
    {
        QTest::addColumn<bool>("fromB");
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QString>("commands");
        QTest::addColumn<QByteArray>("toRequester");
        QTest::addColumn<QByteArray>("toOther");
        const QByteArray route = "VIDEO OUTPUT ROUTING:\n";
        const QByteArray locks = "VIDEO OUTPUT LOCKS:\n";
        QTest::newRow("route") << false << route + "4 2\n\n" << "1D3V5." << "ACK\n\n" + route + "4 2\n\n" << route + "4 2\n\n";
        QTest::newRow("same again") << false << route + "4 2\n\n" << "1D3V5." << "ACK\n\n" + route + "4 2\n\n" << QByteArray();
        QTest::newRow("grouped") << false << route + "9 7\n0 7\n1 3\n\n" << "1D8V1,10. 1D4V2."
                                 << "ACK\n\n" + route + "0 7\n1 3\n9 7\n\n" << route + "0 7\n1 3\n9 7\n\n";
        QTest::newRow("out of range") << false << route + "16 0\n\n" << "" << QByteArray("NAK\n\n") << QByteArray();
        QTest::newRow("bad line") << false << route + "3 2\n4 x\n\n" << "" << QByteArray("NAK\n\n") << QByteArray();
        QTest::newRow("unknown") << false << QByteArray("FOO BAR:\n1 2\n\n") << "" << QByteArray("NAK\n\n") << QByteArray();
        QTest::newRow("ping") << false << QByteArray("PING:\n\n") << "" << QByteArray("ACK\n\n") << QByteArray();
        QTest::newRow("absent") << false << QByteArray("ALARM STATUS:\n\n") << "" << QByteArray("ACK\n\nALARM STATUS:\n\n") << QByteArray();
        QTest::newRow("label") << false << QByteArray("INPUT LABELS:\n2 Camera 3  \n\n") << ""
                               << QByteArray("ACK\n\nINPUT LABELS:\n2 Camera 3\n\n") << QByteArray("INPUT LABELS:\n2 Camera 3\n\n");
        QTest::newRow("lock") << true << locks + "4 O\n\n" << "" << "ACK\n\n" + locks + "4 O\n\n" << locks + "4 L\n\n";
        QTest::newRow("locked route") << false << route + "4 9\n\n" << "" << QByteArray("NAK\n\n") << QByteArray();
        QTest::newRow("partly locked") << false << route + "4 9\n5 9\n\n" << "1D10V6." << "ACK\n\n" + route + "5 9\n\n" << route + "5 9\n\n";
        QTest::newRow("owner routes") << true << route + "4 9\n\n" << "1D10V5." << "ACK\n\n" + route + "4 9\n\n" << route + "4 9\n\n";
        QTest::newRow("unlock by other") << false << locks + "4 U\n\n" << "" << "ACK\n\n" + locks + "4 L\n\n" << QByteArray();
        QTest::newRow("lock query") << false << locks + "\n" << "" << "ACK\n\n" + locks + "0 U\n1 U\n2 U\n3 U\n4 L\n5 U\n6 U\n7 U\n8 U\n9 U\n10 U\n11 U\n12 U\n13 U\n14 U\n15 U\n\n" << QByteArray();
        QTest::newRow("force") << false << locks + "4 F\n\n" << "" << "ACK\n\n" + locks + "4 U\n\n" << locks + "4 U\n\n";
        QTest::newRow("bad letter") << false << locks + "4 X\n\n" << "" << QByteArray("NAK\n\n") << QByteArray();
    }

    // Each request from 127.0.0.1 or 127.0.0.2: the bytes at the matrix, the reply and the
    // update each client gets; a sentinel route must come next, so nothing else went out.
    void requests()
    {
        QFETCH(bool, fromB);
        QFETCH(QByteArray, request);
        QFETCH(QString, commands);
        QFETCH(QByteArray, toRequester);
        QFETCH(QByteArray, toOther);
        static Client a(m_gateway.port("videohub"));
        static Client b(m_gateway.port("videohub"), "127.0.0.2");
        static bool ready = !a.takeThrough("END PRELUDE:").isEmpty() && !b.takeThrough("END PRELUDE:").isEmpty();
        QVERIFY(ready);
        Client &requester = fromB ? b : a;
        Client &other = fromB ? a : b;
        const int before = simCount();
        const QByteArray sentinel = QByteArray("VIDEO OUTPUT ROUTING:\n15 ") + QByteArray::number(m_sentinel++ % 15) + "\n\n";
        requester.write(request + sentinel);
        QCOMPARE(requester.take(toRequester.count("\n\n") + 2), toRequester + "ACK\n\n" + sentinel);
        QCOMPARE(other.take(toOther.count("\n\n") + 1), toOther + sentinel);
        const QString sentinelCommand = QString("1D%1V16.").arg((m_sentinel - 1) % 15 + 1);
        QVERIFY(m_sim.waitForCommands(before + commands.count('.') + 1));
        QCOMPARE(simTexts(m_sim, before).join(' '), QString(commands + ' ' + sentinelCommand).trimmed());
    }

    // A label set by a client is the window's channel name.
    void labelFile()
    {
        QSettings file(m_env->filePath("AliasConfig.ini"), QSettings::IniFormat);
        QCOMPARE(file.value("InputAlias/3").toString(), QString("Camera 3"));
        QCOMPARE(file.value("InputAlias/1").toString(), QString("Camera one"));
    }

    // Sixteen routes in one block all reach the matrix, and the routing is kept.
    void burst()
    {
        Client a(m_gateway.port("videohub"));
        a.takeThrough("END PRELUDE:");
        QByteArray request = "VIDEO OUTPUT ROUTING:\n";
        QJsonArray routing;
        for (int output = 0; output < 16; ++output) {
            request += QByteArray::number(output) + ' ' + QByteArray::number((output + 3) % 16) + '\n';
            routing.append((output + 3) % 16 + 1);
        }
        const int before = simCount();
        a.write(request + '\n');
        QCOMPARE(a.take(), QByteArray("ACK\n\n"));
        QVERIFY(m_sim.waitForCommands(before + 16));
        QCOMPARE(simTexts(m_sim, before).size(), 16);
        QCOMPARE(m_sim.routing().at(4), 8);
        QCOMPARE(QJsonDocument::fromJson(m_env->readFile("RouteState.json")).object().value("routing").toArray(), routing);
    }

    // Garbage or a megabyte without a line end drops that client alone.
    void limits()
    {
        Client a(m_gateway.port("videohub"));
        a.takeThrough("END PRELUDE:");
        for (const QByteArray &bad : { QByteArray("GET / HTTP/1.0\n\n"), QByteArray(1 << 20, 'A') }) {
            Client bad_client(m_gateway.port("videohub"));
            bad_client.takeThrough("END PRELUDE:");
            bad_client.write(bad);
            QTRY_COMPARE_WITH_TIMEOUT(bad_client.state(), QAbstractSocket::UnconnectedState, 5000);
            a.write("PING:\n\n");
            QCOMPARE(a.take(), QByteArray("ACK\n\n"));
        }
        // 32 clients at once, no more: the 33rd is closed before it gets a byte.
        std::vector<std::unique_ptr<Client>> more;
        for (int served = 3; served <= 32; ++served) { // a and the two clients of requests() are served
            more.push_back(std::make_unique<Client>(m_gateway.port("videohub")));
            if (served < 32)
                QVERIFY(more.back()->take().startsWith("PROTOCOL PREAMBLE:\n"));
        }
        QTRY_COMPARE_WITH_TIMEOUT(more.back()->state(), QAbstractSocket::UnconnectedState, 5000);
        a.write("PING:\n\n");
        QCOMPARE(a.take(), QByteArray("ACK\n\n"));
    }

    // The matrix goes away and comes back: "Device present: false", NAK, then the dump again.
    void reconnect()
    {
        // The clients of the test before may not all be gone yet: the 33rd is turned away.
        std::unique_ptr<Client> a;
        QTRY_VERIFY_WITH_TIMEOUT((a = std::make_unique<Client>(m_gateway.port("videohub")))->takeThrough("END PRELUDE:")
                                     .contains("Device present: true"), 5000);
        const QString port = m_sim.portText();
        m_sim.stop();
        // A listener that is dying may still take one connection: wait for the last word.
        QTRY_COMPARE_WITH_TIMEOUT(m_gateway.lastLinkState(), QString("down"), 5000);
        a->write("VIDEO OUTPUT ROUTING:\n1 1\n\nPING:\n\n");
        QVERIFY(a->takeThrough("NAK").endsWith("VIDEOHUB DEVICE:\nDevice present: false\n\nNAK\n\n"));
        QCOMPARE(a->take(), QByteArray("ACK\n\n"));
        QVERIFY(m_sim.start({ "--listen", "127.0.0.1:" + port }));
        const QByteArray dump = a->takeThrough("END PRELUDE:");
        QVERIFY(dump.startsWith("VIDEOHUB DEVICE:\nDevice present: true\n"));
        QVERIFY(dump.contains("\nVIDEO OUTPUT ROUTING:\n0 3\n"));
        a->write("VIDEO OUTPUT ROUTING:\n1 1\n\n");
        QVERIFY(m_sim.waitForCommands(1, 5000));
        QCOMPARE(simTexts(m_sim, 0), QStringList { "1D2V2." });
    }

    // Over the pseudo-terminal, the raw port serves two clients (one of them matrixctl),
    // answers HWC to the one that asked, and its routes reach the Videohub clients.
    void rawPort()
    {
        SimProcess sim;
        QVERIFY(sim.start({ "--pty" }));
        TestEnv env;
        Gateway gateway;
        QVERIFY(gateway.start({ "--serial", sim.ptyPath(), "--raw", "127.0.0.1:0", "--allow", "127.0.0.0/31" }));
        Client viewer(gateway.port("videohub"));
        viewer.takeThrough("END PRELUDE:");
        Client stranger(gateway.port("videohub"), "127.0.0.2");
        QTRY_COMPARE_WITH_TIMEOUT(stranger.state(), QAbstractSocket::UnconnectedState, 5000);
        QCOMPARE(stranger.take(), QByteArray());
        QTcpSocket raw;
        raw.connectToHost(QHostAddress::LocalHost, gateway.port("raw"));
        QVERIFY(raw.waitForConnected(3000));
        raw.write("1D3V5.HWC");
        QTRY_VERIFY_WITH_TIMEOUT(raw.bytesAvailable() > 0 && raw.peek(100).contains(",02:"), 5000);
        QVERIFY(raw.readAll().startsWith("HNW"));
        QCOMPARE(viewer.take(), QByteArray("VIDEO OUTPUT ROUTING:\n4 2\n\n"));
        QProcess ctl;
        ctl.start(QStringLiteral(MC_RUN_DIR "/matrixctl"),
                  { "--tcp", QString("127.0.0.1:%1").arg(gateway.port("raw")), "switch", "7", "1,2" });
        QVERIFY(ctl.waitForFinished(10000));
        QCOMPARE(ctl.exitCode(), 0);
        QCOMPARE(viewer.take(), QByteArray("VIDEO OUTPUT ROUTING:\n0 6\n1 6\n\n"));
        QVERIFY(sim.waitForCommands(3));
        QCOMPARE(simTexts(sim, 0), (QStringList { "1D3V5.", "HWC", "1D7V1,2." }));
    }
};

QTEST_MAIN(TestGateway)
#include "tst_gateway.moc"
