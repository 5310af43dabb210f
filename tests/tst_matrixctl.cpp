#include "support/simprocess.h"
#include "support/testenv.h"

#include <QSerialPort>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

// matrixctl run as a script runs it, against matrix-sim over TCP and over its pty; UserData.ini holds matrix ID 7.
class TestMatrixctl : public QObject
{
    Q_OBJECT

    TestEnv m_env;
    SimProcess m_sim;
    QByteArray m_book;
    QString m_closed, m_out, m_err;

    // Runs matrixctl and keeps what it printed, stamps as "T"; "@tcp", "@pty" and "@closed" stand for the simulator's
    // links and a closed port, "_" for a blank within a word.
    int run(QString line)
    {
        line.replace("@tcp", "--tcp 127.0.0.1:" + m_sim.portText()).replace("@pty", "--serial " + m_sim.ptyPath());
        QProcess process;
        process.start(MC_RUN_DIR "/matrixctl", line.replace("@closed", m_closed).split(' ').replaceInStrings("_", " "));
        if (!QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, 20000))
            return -1;
        m_out = QString::fromUtf8(process.readAllStandardOutput())
                    .replace(QRegularExpression("\\d\\d:\\d\\d:\\d\\d:\\d{3}"), "T").replace(m_sim.portText(), "PORT");
        m_err = QString::fromUtf8(process.readAllStandardError());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    // A command straight to the simulator, on the link that a run used.
    void sendSentinel(bool pty)
    {
        QSerialPort serial(m_sim.ptyPath());
        QTcpSocket tcp;
        if (!pty)
            tcp.connectToHost(QHostAddress::LocalHost, m_sim.port());
        QVERIFY(pty ? serial.open(QIODevice::ReadWrite) : tcp.waitForConnected(3000));
        QIODevice &link = pty ? static_cast<QIODevice &>(serial) : tcp;
        link.write("1D1V1.");
        link.waitForBytesWritten(3000);
    }

    QStringList commands() const
    {
        QStringList texts;
        for (const QJsonObject &event : m_sim.events())
            if (event["event"] == "command")
                texts << event["text"].toString();
        return texts;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_sim.start({"--pty"}));
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        m_closed = QString("--tcp 127.0.0.1:%1").arg(closed.serverPort());
        m_env.writeFile("UserData.ini", "[General]\nid=7\n");
        // A number where text belongs: a store that may write would keep a copy and write the book anew.
        m_book = QString("{ \"items\": [ {\"alias\": \"Hall\", \"ip\": \"127.0.0.1\", \"port\": \"%1\", \"mac\": 0},\n"
                         "  {\"alias\": \"Bad\", \"ip\": \"127.0.1\", \"port\": \"6800\"} ] }\n").arg(m_sim.portText()).toUtf8();
        m_env.writeFile("ipmanager", m_book);
    }

    void sends_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("arrived"); // the commands at the simulator, blank-separated
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("shown"); // all of stdout on success, else a part of stderr
        const auto row = [](const char *line, const char *arrived, int status, const QString &shown) {
            QTest::newRow(line) << QString(line) << QString(arrived) << status << shown;
        };
        row("@tcp switch 3 5,2,5", "7D3V2,5.", 0, "T 7D3V2,5.\n");
        row("@tcp switch 1 64 --quiet", "7D1V64.", 0, "");
        row("@tcp --id 0 all 3", "03TOALL.", 0, "T 03TOALL.\n");
        row("@tcp --id 12 onebyone", "12TOONE.", 0, "T 12TOONE.\n");
        row("@tcp scene save 16", "7SAVE16", 0, "T 7SAVE16\n");
        row("@tcp --json net get", "HWC", 0,
            "{\"hex\":\"48 57 43\",\"sent\":\"HWC\",\"time\":\"T\"}\n{\"gateway\":\"127.0.0.1\",\"ip\":\"127.0.0.1\","
            "\"mac\":\"02:4D:43:00:00:01\",\"port\":\"PORT\",\"subnet\":\"255.255.255.0\"}\n");
        row("@pty --quiet net get", "HWC", 0,
            "ip 127.0.0.1\nport PORT\nsubnet 255.255.255.0\ngateway 127.0.0.1\nmac 02:4D:43:00:00:01\n");
        row("@pty scene call 4", "7CALL4", 0, "T 7CALL4\n");
        row("@pty --baud 115200 buzzer off", "7BUZOFF", 0, "T 7BUZOFF\n");
        row("@pty edid 3 5", "7D5E3.", 0, "T 7D5E3.\n");
        row("@pty raw --hex 31_44_33_56_35_2E", "1D3V5.", 0, "T 1D3V5.\n");
        row("@tcp raw --hex 31_FF_0x80_2E", "1\xc3\xbf\xc2\x80.", 0, "T 1\xc3\xbf\xc2\x80.\n"); // each byte as typed
        row("@tcp raw 5D2V4.", "5D2V4.", 0, "T 5D2V4.\n");
        row("--device Hall --json buzzer on", "7BUZON", 0,
            "{\"hex\":\"37 42 55 5A 4F 4E\",\"sent\":\"7BUZON\",\"time\":\"T\"}\n");
        row("devices", "", 0, "Hall\t127.0.0.1\tPORT\nBad\t127.0.1\t6800\n");
        row("@tcp net set 10.0.0.5 255.0.0.0 10.0.0.1", "HWS10.0.0.5.255.0.0.0.10.0.0.1", 0,
            "T HWS10.0.0.5.255.0.0.0.10.0.0.1\n");
        row("@tcp net reset", "HWR", 0, "T HWR\n");
        row("@closed buzzer on", "", 1, "Connection refused");
        row("--serial no-such-port buzzer on", "", 1, "No such file or directory");
        row("--tcp [::1]:1 buzzer on", "", 1, "cannot open [::1]:1: ");
        // Refused before any link opens, with the usage.
        for (const char *line : {"@tcp switch 0 2", "@tcp switch 3 2,65", "@tcp switch 3 2,", "@tcp scene call 17",
                                 "@tcp scene load 1", "@tcp all 3 4", "@tcp jump 3", "@tcp buzzer", "@tcp buzzer up",
                                 "@tcp net set 10.0.0.5 255.0.0 10.0.0.1", "@tcp raw --hex 31_4G", "@tcp --hex buzzer on",
                                 "@tcp --id 65536 onebyone", "--tcp 127.0.0.256 buzzer on", "--tcp 127.0.0.1:65536 buzzer on",
                                 "--device Bad buzzer on", "--device Nobody buzzer on", "--book nothing devices", "buzzer on",
                                 "@tcp @pty buzzer on", "@pty --baud x buzzer on", "@tcp --baud 9600 buzzer on",
                                 "@tcp --loud buzzer on", "@tcp raw"})
            row(line, "", 2, "\nUsage: matrixctl"); // after the reason
    }

    // What arrives is followed by a sentinel sent after the run ended: nothing else went out.
    void sends()
    {
        QFETCH(QString, line);
        QFETCH(QString, arrived);
        QFETCH(int, status);
        QFETCH(QString, shown);
        const int before = commands().size();
        QCOMPARE(run(line), status);
        QCOMPARE(m_out, status == 0 ? shown : QString());
        QVERIFY2(status == 0 || m_err.contains(shown), qPrintable(m_err));
        const QStringList expected = QString(arrived + " 1D1V1.").split(' ', Qt::SkipEmptyParts);
        QVERIFY(m_sim.waitForCommands(before + expected.size() - 1));
        sendSentinel(line.contains("@pty"));
        QVERIFY(m_sim.waitForCommands(before + expected.size()));
        QCOMPARE(commands().mid(before), expected);
    }

    // The serial link reads an answer for 100 ms; one that comes after a second is none.
    void lateAnswer()
    {
        SimProcess late;
        QVERIFY(late.start({"--pty", "--reply-delay", "1000"}));
        QCOMPARE(run("--serial " + late.ptyPath() + " net get"), 3);
        QCOMPARE(m_out, "T HWC\n");
        QVERIFY2(m_err.contains("no answer"), qPrintable(m_err));
    }

    void writesNoFile()
    {
        QCOMPARE(QDir().entryList(QDir::Files | QDir::Hidden), QStringList({"ipmanager", "UserData.ini"}));
        QCOMPARE(m_env.readFile("ipmanager"), m_book);
        QCOMPARE(m_env.readFile("UserData.ini"), QByteArray("[General]\nid=7\n"));
    }
};

QTEST_GUILESS_MAIN(TestMatrixctl)
#include "tst_matrixctl.moc"
