#include "commandframer.h"
#include "matrixdevice.h"
#include "simoptions.h"
#include "support/simprocess.h"
#include "support/testenv.h"

#include <QSerialPort>
#include <QTcpSocket>
#include <QtTest>

// Each command's text; "~N" marks a run of N bytes dropped unread.
static QStringList describe(const QList<CommandFramer::Frame> &frames)
{
    QStringList out;
    for (const CommandFramer::Frame &f : frames)
        out << QString::fromLatin1(f.bytes) + (f.discarded ? QStringLiteral("~%1").arg(f.size) : QString());
    return out;
}

class TestSim : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { static TestEnv env; }

    void framer_data()
    {
        QTest::addColumn<QString>("row");
        // Chunks split at "|" > the commands at once > the commands after a pause.
        for (const char *row : { "1D3V5.1D2V1,2,7.BUZONHWCHWRHWC>1D3V5. 1D2V1,2,7. BUZON HWC HWR HWC>", "HWS1.2>>HWS1.2",
                                 "HWS1.2.HWC3V5.03TOALL.TOONE.5E3.SAVE2>HWS1.2 . HWC 3V5. 03TOALL. TOONE. 5E3.>SAVE2",
                                 "1CALL1|9|0SAVE10HWC9BUZON>1CALL190 SAVE10 HWC 9BUZON>", "HWC\x0b\r\n>HWC>\x0b",
                                 "HWS1.2.3.4.5.6.7.8.9.10.11.12.1D3V5.>HWS1.2.3.4.5.6.7.8.9.10.11.12 . 1D3V5.>",
                                 "HWS10.0.0.5.|255.0.0.0.10.0.0.1HWC>HWS10.0.0.5.255.0.0.0.10.0.0.1 HWC>",
                                 "\tHWC\r\n 1D3V5.\n>HWC 1D3V5.>", "1D3|V5.1BU|ZOFF>1D3V5. 1BUZOFF>" })
            QTest::newRow(qPrintable(QString(row).simplified())) << QString(row);
        const QString x(512, 'x');
        QTest::newRow("over 512") << x + ".|" + x + "y.HWC>" + x + ". " + x.left(32) + "~514 HWC>";
        QTest::newRow("long") << "1SAVE|" + QString(3000, '7') + ">>1SAVE" + QString(27, '7') + "~3005";
    }

    // Chunked or byte by byte the same commands, never more than the longest held, new ones after a pause.
    void framer()
    {
        QFETCH(QString, row);
        const QString frames = row.section('>', 1);
        for (int step : { 0, 1 }) {
            CommandFramer framer;
            QStringList got;
            for (const QByteArray &chunk : row.section('>', 0, 0).toLatin1().split('|')) {
                for (int i = 0; i < chunk.size(); i += step ? step : chunk.size())
                    got += describe(framer.feed(chunk.mid(i, step ? step : -1)));
                QVERIFY(framer.pendingSize() <= 512);
            }
            QCOMPARE(framer.hasPending(), !frames.endsWith('>'));
            QCOMPARE(got.join(' ') + '>' + describe(framer.flush()).join(' '), frames);
            QCOMPARE(describe(framer.feed("HWC")), QStringList { "HWC" });
        }
    }

    void device_data()
    {
        QTest::addColumn<QStringList>("row");
        // On 4 inputs and 6 outputs: ID | commands | each one's result, the last one's action, address and
        // scene | the input each output shows, the output each input took its EDID from, buzzer | last answer
        const QString rows[] = {
            "12|12D03TOALL. 0012D2V5. 12D4V1,6,2.|ok ok ok route 12|443324 0000 on|",
            "7|2V1,3. 4TOALL. TOONE. 0003V06. BUZOFF|ok ok ok ok ok buzzer -1|123413 0000 off|",
            "1|1D04TOALL. 0D3V5. 2TOONE. 2SAVE1 3BUZOFF 2D1E1. 1CALL1|ok ig ig ig ig ig in scene-call 1 1|444444 0000 on|",
            "1|1D5V1. 1D0V1. 1D2V1,7. 1D1V0. 1D05TOALL. 1D00TOALL.|in in in in in in route-all 1|123412 0000 on|",
            "1|1D4V1. 1SAVE16 1D1V1. 1CALL16 SAVE1 1D2V1. CALL1|ok ok ok ok ok ok ok scene-call -1 1|423412 0000 on|",
            "1|1CALL5 1SAVE0 1SAVE17 1D01TOALL. 1CALL17 1CALL0|in in in ok in in scene-call 1|111111 0000 on|",
            "1|1D04TOALL. 1TOONE. 1D6E4. 5E1. 1D7E1. 1D1E5. 1D0E1. 1D1E0.|ok ok ok ok in in in in edid 1|123412 5006 on|",
            "1|1D3V5 1d3v5. 1D3V. 1D3V1,. D3V5. 1HWC HWCX HWR1 \x01.|un un un un un un un un un  -1|123412 0000 on|",
            "4660|HWS1.2.3.4.255.0.0.0.1.2.3.1 HWR HWS10.1.2.256.255.255.255.0.10.1.2.1 1D3V5. HWC|ok ok in ig ok net-query"
            " -1|123412 0000 on|HNW192.168.1.168,6800,255.255.255.0,192.168.1.1,02:4D:43:00:12:34",
            "1|HWS255.255.255.255.255.255.255.255.010.010.001.001 HWC|ok ok net-query -1|123412 0000 on"
            "|HNW255.255.255.255,6800,255.255.255.255,10.10.1.1,02:4D:43:00:00:01",
            "1|HWS255.255.255.255.255.255.255.255.255.255.255.255 HWC|ok ok net-query -1|123412 0000 on"
            "|HNW255.255.255.255,6800,255.255.255.255,255.255.255.255,024D4300000",
        };
        for (const QString &row : rows)
            QTest::newRow(qPrintable(row.section('|', 1, 1).left(40))) << row.split('|');
    }

    void device()
    {
        QFETCH(QStringList, row);
        MatrixDevice device(row.at(0).toInt(), 4, 6);
        QString got;
        CommandOutcome o;
        for (const QString &command : row.at(1).split(' ')) {
            o = device.execute(command.toLatin1());
            got += CommandOutcome::resultName(o.result).left(2) + ' ';
        }
        got += o.action + ' ' + QString::number(o.address) + (o.scene ? ' ' + QString::number(o.scene) : QString()) + '|';
        for (int n : device.routing() + QVector<int> { -1 } + device.edid())
            got += n < 0 ? QStringLiteral(" ") : QString::number(n);
        QCOMPARE(got + (device.buzzer() ? " on|" : " off|") + o.reply, row.mid(2).join('|'));
    }

    void options_data()
    {
        QTest::addColumn<QString>("args");
        QTest::addColumn<QString>("parsed"); // or, when refused, what the error names
        QTest::newRow("defaults") << "" << "127.0.0.1:6800 16/16 id 1 delay 0 pause 50";
        QTest::newRow("highest") << "--listen=localhost:65535 --inputs 256 --outputs 256 --id 65535 --reply-delay 60000 "
                                    "--pause 60000" << "127.0.0.1:65535 256/256 id 65535 delay 60000 pause 60000";
        QTest::newRow("lowest") << "--listen 0 --inputs 1 --outputs 1 --id 0 --reply-delay 0 --pause 1"
                                << "127.0.0.1:0 1/1 id 0 delay 0 pause 1";
        QTest::newRow("no host") << "--listen :0" << "\"\" is not an IP address";
        QTest::newRow("half bracket") << "--listen [127.0.0.1:1" << "\"[127.0.0.1\" is not an IP address";
        for (const char *args : { "--listen x:1", "--listen 65536", "--listen -1", "--inputs 0", "--inputs 257",
                                  "--outputs 0", "--outputs 257", "--id -1", "--id 65536", "--reply-delay -1",
                                  "--reply-delay 60001", "--pause 0", "--pause 60001", "--bogus", "stray" })
            QTest::newRow(args) << args << QString(args).section(' ', 0, 0).mid(2);
    }

    void options()
    {
        QFETCH(QString, args);
        QFETCH(QString, parsed);
        SimOptions o;
        const bool ok = o.parse(QStringList { "sim" } + args.split(' ', Qt::SkipEmptyParts)) == SimOptions::Parse::Ok;
        QCOMPARE(ok ? QStringLiteral("%1:%2 %3/%4 id %5 delay %6 pause %7").arg(o.address.toString()).arg(o.port)
                              .arg(o.inputs).arg(o.outputs).arg(o.id).arg(o.replyDelayMs).arg(o.pauseMs)
                    : o.errorText().contains(parsed) ? parsed : o.errorText(),
                 parsed);
    }

    void tcpClientsKeepTheirOwnBuffers()
    {
        SimProcess sim;
        QVERIFY(sim.start({ "--id", "12", "--pause", "5000" }));
        QTcpSocket a, b, c;
        for (QTcpSocket *client : { &a, &b, &c })
            client->connectToHost(QHostAddress::LocalHost, sim.port());
        a.write("12D3V1");
        b.write("12D4V6.");
        QVERIFY(sim.waitForCommands(1));
        a.write(",2.");
        QVERIFY(sim.waitForCommands(2));
        // The setting and the hang-up at once, as the connection panel does: no waiting for the pause.
        c.write("HWS10.9.8.7.255.0.0.0.10.0.0.1");
        c.disconnectFromHost();
        QVERIFY(sim.waitForCommands(3, 3000));
        QCOMPARE(sim.events().at(2)["state"].toString(), QStringLiteral("connected")); // after "listening" and "ready"
        QCOMPARE(sim.routing(), QVector<int>({ 3, 3, 3, 4, 5, 4, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16 }));
        // Routing is not answered: the query's answer is the first thing the client reads.
        const QByteArray answer = "HNW10.9.8.7," + sim.portText().toLatin1() + ",255.0.0.0,10.0.0.1,02:4D:43:00:00:0C";
        b.write("0D1V1."); // another matrix's command: ignored, its address reported
        QVERIFY(sim.waitForCommands(4));
        QCOMPARE(sim.lastCommand()["address"].toInt(-1), 0);
        b.write("12D5E2.");
        QVERIFY(sim.waitForCommands(5));
        QCOMPARE(sim.lastCommand()["edid"].toArray().at(1).toInt(), 5); // input 2 takes output 5's EDID
        QVERIFY(sim.lastCommand()["buzzer"].toBool() && !sim.lastCommand().contains("scene")); // no scene named
        b.write("HWC");
        while (b.bytesAvailable() < answer.size() && b.waitForReadyRead(3000)) { }
        QCOMPARE(b.readAll(), answer);
        for (const QString &bad : QStringList { "--listen=127.0.0.1:" + sim.portText(), "--inputs=0" }) {
            QProcess second;
            second.start(QStringLiteral(MC_SIM_PATH), { "--listen=127.0.0.1:0", bad });
            QVERIFY(second.waitForFinished(5000));
            QCOMPARE(second.exitCode(), bad.startsWith("--listen") ? 1 : 2);
            QVERIFY(second.readAllStandardError().contains(bad.startsWith("--listen") ? "cannot listen" : "--inputs"));
            QCOMPARE(second.readAllStandardOutput().contains("error: cannot listen"), bad.startsWith("--listen"));
        }
    }

    // Lines for people without --json; the terminal may be closed and opened again; its runner's end is its end.
    void consoleOverPty()
    {
        QProcess sim;
        sim.start(QStringLiteral(MC_SIM_PATH), { "--listen=127.0.0.1:0", "--pty", "--reply-delay=300", "--watch-stdin" });
        QByteArray out;
        QTRY_VERIFY((out += sim.readAllStandardOutput()).contains("ready"));
        const QByteArray port = out.mid(23, out.indexOf(' ', 23) - 23);
        const QByteArray path = out.mid(out.indexOf("/dev/"), out.indexOf(" (open") - out.indexOf("/dev/"));
        sim.write("stray input is ignored\n");
        QSerialPort serial(QString::fromLatin1(path));
        QVERIFY(serial.open(QIODevice::ReadWrite));
        const QDeadlineTimer delay(300);
        serial.write("1D3V5.\\\x01" + QByteArray(98, 'z') + ".HWC");
        const QByteArray answer = "HNW127.0.0.1," + port + ",255.255.255.0,127.0.0.1,02:4D:43:00:00:01";
        while (serial.bytesAvailable() < answer.size() && serial.waitForReadyRead(3000)) { }
        QCOMPARE(serial.readAll(), answer);
        QVERIFY(delay.hasExpired());
        serial.close();
        QVERIFY(serial.open(QIODevice::ReadWrite));
        serial.write("1SAVE2");
        QTRY_VERIFY((out += sim.readAllStandardOutput()).contains("scene 2"));
        // One line each for people; a hundred bytes of garbage shown cut short, at 80.
        QVERIFY2(out.contains("\"1D3V5.\"  ok: input 3 to output 5") && !out.contains(QByteArray(79, 'z'))
                     && out.contains(QByteArray(78, 'z').append("\"... (101 bytes)  unknown")), out.constData());
        sim.closeWriteChannel();
        QVERIFY(sim.waitForFinished(5000) && sim.exitStatus() == QProcess::NormalExit && sim.exitCode() == 0);
    }
};

QTEST_GUILESS_MAIN(TestSim)
#include "tst_sim.moc"
