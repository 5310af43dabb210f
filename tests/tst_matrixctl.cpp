#include "support/simprocess.h"
#include "support/testenv.h"

#include <QSerialPort>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

// matrixctl run as a script runs it, against matrix-sim over TCP and over its pty; UserData.ini holds matrix ID 7,
// AppConfig.ini 16 inputs and 12 outputs, and channels and scene 4 have names.
class TestMatrixctl : public QObject
{
    Q_OBJECT

    TestEnv m_env;
    SimProcess m_sim, m_late; // m_late answers HWC 300 ms late
    QTcpServer m_dropper; // closes each link after its first read
    QByteArray m_book, m_dropped;
    QString m_closed, m_out, m_err;

    // Runs matrixctl and keeps what it printed, stamps as "T"; "@tcp", "@pty", "@late", "@drop" and "@closed" stand
    // for the links, "@damaged" for a directory whose stored ID is damaged, "_" for a blank within a word, and what
    // follows " <<" is standard input, "|" for a line end.
    int run(QString line)
    {
        const QStringList parts = line.split(" <<");
        line = parts.at(0);
        line.replace("@tcp", "--tcp 127.0.0.1:" + m_sim.portText()).replace("@pty", "--serial " + m_sim.ptyPath())
            .replace("@late", "--serial " + m_late.ptyPath()).replace("@closed", m_closed)
            .replace("@drop", "--tcp 127.0.0.1:" + QString::number(m_dropper.serverPort()));
        QProcess process;
        if (line.contains("@damaged "))
            process.setWorkingDirectory(m_env.filePath("damaged"));
        process.start(MC_RUN_DIR "/matrixctl", line.remove("@damaged ").split(' ').replaceInStrings("_", " "));
        process.write(parts.value(1).replace('|', '\n').replace('_', ' ').toUtf8());
        process.closeWriteChannel();
        if (!QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, 20000))
            return -1;
        m_out = QString::fromUtf8(process.readAllStandardOutput())
                    .replace(QRegularExpression("\\d\\d:\\d\\d:\\d\\d:\\d{3}"), "T").replace(m_sim.portText(), "PORT")
                    .replace(m_late.portText(), "PORT");
        m_err = QString::fromUtf8(process.readAllStandardError());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    // A command straight to the simulator, on the link that a run used.
    void sendSentinel(SimProcess &sim, bool pty)
    {
        QSerialPort serial(sim.ptyPath());
        QTcpSocket tcp;
        if (!pty)
            tcp.connectToHost(QHostAddress::LocalHost, sim.port());
        QVERIFY(pty ? serial.open(QIODevice::ReadWrite) : tcp.waitForConnected(3000));
        QIODevice &link = pty ? static_cast<QIODevice &>(serial) : tcp;
        link.write("1D1V1.");
        link.waitForBytesWritten(3000);
    }

    static QStringList commands(const SimProcess &sim)
    {
        QStringList texts;
        for (const QJsonObject &event : sim.events())
            if (event["event"] == "command")
                texts << event["text"].toString();
        return texts;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_sim.start({"--pty"}));
        QVERIFY(m_late.start({"--pty", "--reply-delay", "300"}));
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        m_closed = QString("--tcp 127.0.0.1:%1").arg(closed.serverPort());
        QVERIFY(m_dropper.listen(QHostAddress::LocalHost));
        connect(&m_dropper, &QTcpServer::newConnection, this, [this] {
            QTcpSocket *socket = m_dropper.nextPendingConnection();
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                m_dropped += socket->readAll();
                socket->close();
            });
        });
        m_env.writeFile("UserData.ini", "[General]\nid=7\n");
        m_env.writeFile("AppConfig.ini", "[General]\noutcount=12\n");
        QVERIFY(QDir().mkdir("damaged"));
        m_env.writeFile("damaged/UserData.ini", "[General]\nid=abc\n");
        m_env.writeFile("damaged/list.json", "[{\"ip\": \"127.0.0.1\"}]");
        m_env.writeFile("AliasConfig.ini", "[InputAlias]\n3=Camera\n[OutputAlias]\n2=Projector\n5=Recorder\n"
                                           "6=recorder\n7=Meeting room\n");
        m_env.writeFile("SceneConfig.ini", "[SceneConfig]\n4=Evening\n");
        // A number where text belongs: a store that may write would keep a copy and write the book anew.
        m_book = QString("{ \"items\": [ {\"alias\": \"Hall\", \"ip\": \"127.0.0.1\", \"port\": \"%1\", \"mac\": 0},\n"
                         "  {\"alias\": \"Bad\", \"ip\": \"127.0.1\", \"port\": \"6800\"},\n"
                         "  {\"alias\": \"Num\", \"ip\": \"127.0.0.1\", \"port\": %1},\n"
                         "  {\"alias\": \"Twice\", \"ip\": \"127.0.0.1\", \"port\": \"1\"},\n"
                         "  {\"alias\": \"Twice\", \"ip\": \"127.0.0.1\", \"port\": \"2\"} ] }\n")
                     .arg(m_sim.portText()).toUtf8();
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
        row("@tcp switch 1 12 --quiet", "7D1V12.", 0, "");
        row("@tcp --inputs 24 switch 20 3", "7D20V3.", 0, "T 7D20V3.\n");
        row("@tcp switch camera Meeting_room,PROJECTOR", "7D3V2,7.", 0, "T 7D3V2,7.\n");
        row("@tcp --id 0 all 3", "03TOALL.", 0, "T 03TOALL.\n");
        row("@tcp --id 12 onebyone", "12TOONE.", 0, "T 12TOONE.\n");
        row("@tcp scene save 16", "7SAVE16", 0, "T 7SAVE16\n");
        row("@tcp --json net get", "HWC", 0,
            "{\"hex\":\"48 57 43\",\"sent\":\"HWC\",\"time\":\"T\"}\n{\"gateway\":\"127.0.0.1\",\"ip\":\"127.0.0.1\","
            "\"mac\":\"02:4D:43:00:00:01\",\"port\":\"PORT\",\"subnet\":\"255.255.255.0\"}\n");
        row("@pty --quiet net get", "HWC", 0,
            "ip 127.0.0.1\nport PORT\nsubnet 255.255.255.0\ngateway 127.0.0.1\nmac 02:4D:43:00:00:01\n");
        row("@late --quiet --timeout 3000 net get", "HWC", 0,
            "ip 127.0.0.1\nport PORT\nsubnet 255.255.255.0\ngateway 127.0.0.1\nmac 02:4D:43:00:00:01\n");
        row("@late net get", "HWC", 3, "no answer"); // the serial wait is 100 ms unless told otherwise
        row("@pty scene call evening", "7CALL4", 0, "T 7CALL4\n");
        row("@pty --baud 115200 buzzer off", "7BUZOFF", 0, "T 7BUZOFF\n");
        row("@pty edid 3 Recorder", "", 2, "output \"Recorder\" is ambiguous: 5 \"Recorder\", 6 \"recorder\"");
        row("@tcp all Nobody", "", 2, "no input is named \"Nobody\"; the inputs are 3 \"Camera\"");
        row("@pty edid 3 5", "7D5E3.", 0, "T 7D5E3.\n");
        // Raw bytes go out exactly as given, for every ID, and are shown as they went.
        row("@pty --id 0 raw --hex 31_44_33_56_35_2E", "1D3V5.", 0, "T 1D3V5.\n");
        row("@tcp --id 0 raw 0D2V4.", "0D2V4.", 0, "T 0D2V4.\n");
        row("@tcp --quiet raw --hex 31_FF_0x80_2E", "1\xc3\xbf\xc2\x80.", 0, ""); // the simulator shows bytes as Latin-1
        row("@tcp --json raw é", "\xc3\x83\xc2\xa9", 0, "{\"hex\":\"C3 A9\",\"sent\":\"é\",\"time\":\"T\"}\n");
        QTest::newRow("18000 bytes") << "@pty --quiet raw " + QString("1D1V1.").repeated(3000)
                                     << QString("1D1V1. ").repeated(3000) << 0 << QString();
        row("--device Hall --json buzzer on", "7BUZON", 0,
            "{\"hex\":\"37 42 55 5A 4F 4E\",\"sent\":\"7BUZON\",\"time\":\"T\"}\n");
        row("--device Num --quiet buzzer on", "7BUZON", 0, "");
        row("devices", "", 0, "Hall\t127.0.0.1\tPORT\nBad\t127.0.1\t6800\nNum\t127.0.0.1\tPORT\nTwice\t127.0.0.1\t1\n"
                              "Twice\t127.0.0.1\t2\n");
        row("--book nothing devices", "", 2, "cannot read the address book \"nothing\"");
        row("--book UserData.ini devices", "", 2, "is not valid JSON");
        row("--book damaged/list.json devices", "", 2, "holds no list of devices");
        row("@tcp net set 10.0.0.5 255.0.0.0 10.0.0.1", "HWS10.0.0.5.255.0.0.0.10.0.0.1", 0,
            "T HWS10.0.0.5.255.0.0.0.10.0.0.1\n");
        row("@tcp net reset", "HWR", 0, "T HWR\n");
        row("@tcp - <<switch_camera_5|#_a_note||scene_call_EVENING", "7D3V5. 7CALL4", 0, "T 7D3V5.\nT 7CALL4\n");
        row("@late - <<buzzer_on|net_get|buzzer_off", "7BUZON HWC", 3, "line 2: no answer");
        row("@drop edid 1,2,3 4", "7D4E1.", 4, "\"edid 2 4\" was not sent whole: TCP link dropped");
        row("@closed buzzer on", "", 1, "Connection refused");
        row("--serial no-such-port buzzer on", "", 1, "No such file or directory");
        row("--tcp [::1]:1 buzzer on", "", 1, "cannot open [::1]:1: ");
        row("@damaged @tcp buzzer on", "", 2, "UserData.ini holds the matrix ID \"abc\", which is not one from 0 to 999");
        row("--device Twice buzzer on", "", 2, "\"Twice\" is in \"ipmanager\" twice: entries 4 (127.0.0.1:1) and 5");
        row("@tcp - <<buzzer_on|jump", "", 2, "line 2: unknown command \"jump\"");
        // Refused before any link opens, in one line.
        for (const char *line : {"@tcp switch 0 2", "@tcp switch 20 3", "@tcp switch 3 13", "@tcp switch 3 2,", "@tcp scene call 17",
                                 "@tcp scene load 1", "@tcp all 3 4", "@tcp jump 3", "@tcp buzzer", "@tcp buzzer up",
                                 "@tcp net set 10.0.0.5 255.0.0 10.0.0.1", "@tcp raw --hex 31_4G", "@tcp --hex buzzer on",
                                 "@tcp --id 1000 onebyone", "--tcp 127.0.0.256 buzzer on", "--tcp 127.0.0.1:65536 buzzer on",
                                 "--device Bad buzzer on", "--device Nobody buzzer on", "buzzer on", "@tcp --timeout 0 net get",
                                 "@tcp @pty buzzer on", "@pty --baud x buzzer on", "@tcp --baud 9600 buzzer on",
                                 "@tcp --loud buzzer on", "@tcp raw", "@tcp --outputs 65 all 1", "@tcp --wait 1 buzzer on"})
            row(line, "", 2, "; try matrixctl --help\n");
    }

    // What arrives is followed by a sentinel sent after the run ended: nothing else went out.
    void sends()
    {
        QFETCH(QString, line);
        QFETCH(QString, arrived);
        QFETCH(int, status);
        QFETCH(QString, shown);
        m_dropped.clear();
        SimProcess &sim = line.contains("@late") ? m_late : m_sim;
        const int before = commands(sim).size();
        QCOMPARE(run(line), status);
        if (status == 0)
            QCOMPARE(m_out, shown);
        // Scripts read stderr too: no developer trace mixes in.
        QVERIFY2(status == 0 ? m_err.isEmpty() : m_err.contains(shown) && m_err.count('\n') == 1, qPrintable(m_err));
        const bool dropped = line.contains("@drop");
        QCOMPARE(QString(m_dropped), dropped ? arrived : QString());
        const QStringList expected = QString((dropped ? QString() : arrived) + " 1D1V1.").split(' ', Qt::SkipEmptyParts);
        QVERIFY(sim.waitForCommands(before + expected.size() - 1, 10000));
        sendSentinel(sim, line.contains("@pty") || line.contains("@late"));
        QVERIFY(sim.waitForCommands(before + expected.size()));
        QCOMPARE(commands(sim).mid(before), expected);
    }

    // A serial port that another program holds: named with its holder, and waited for with --wait.
    void busyPort()
    {
        QSerialPort holder(m_sim.ptyPath());
        QVERIFY(holder.open(QIODevice::ReadWrite));
        QCOMPARE(run("@pty buzzer on"), 1);
        QVERIFY2(m_err.contains(QString("held by tst_matrixctl (process %1)").arg(QCoreApplication::applicationPid())),
                 qPrintable(m_err));
        QProcess waiting;
        waiting.start(MC_RUN_DIR "/matrixctl", {"--serial", m_sim.ptyPath(), "--wait", "20", "buzzer", "off"});
        QByteArray err;
        QTRY_VERIFY_WITH_TIMEOUT((err += waiting.readAllStandardError()).contains("waiting up to 20 s"), 10000);
        const int before = commands(m_sim).size();
        holder.close();
        QTRY_COMPARE_WITH_TIMEOUT(waiting.state(), QProcess::NotRunning, 20000);
        QCOMPARE(waiting.exitCode(), 0);
        QVERIFY(m_sim.waitForCommands(before + 1));
        QCOMPARE(m_sim.lastCommand()["text"].toString(), "7BUZOFF");
    }

    // Completion inserts a name with a blank quoted, from the book that --book=FILE names.
    void completion()
    {
        m_env.writeFile("damaged/book", "{\"items\": [{\"alias\": \"Meeting room\"}, {\"alias\": \"Hall\"}]}");
        QProcess bash;
        bash.setWorkingDirectory(m_env.filePath("damaged"));
        bash.start("bash", {"-c", QString("PATH=%1:$PATH; . '%2'; COMP_WORDS=(matrixctl --book = book --device M); "
                                          "COMP_CWORD=5; _matrixctl; echo \"${COMPREPLY[@]}\"")
                                      .arg(MC_RUN_DIR, QFINDTESTDATA("../ctl/matrixctl.bash"))});
        QVERIFY(bash.waitForFinished(10000));
        QCOMPARE(bash.readAllStandardOutput(), QByteArray("Meeting\\ room\n"));
    }

    void writesNoFile()
    {
        QCOMPARE(QDir().entryList(QDir::Files | QDir::Hidden),
                 QStringList({"AliasConfig.ini", "AppConfig.ini", "ipmanager", "SceneConfig.ini", "UserData.ini"}));
        QCOMPARE(m_env.readFile("ipmanager"), m_book);
        QCOMPARE(m_env.readFile("UserData.ini"), QByteArray("[General]\nid=7\n"));
    }
};

QTEST_GUILESS_MAIN(TestMatrixctl)
#include "tst_matrixctl.moc"
