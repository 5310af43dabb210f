#include "link/protocoladapter.h"
#include "panels/advancedsetting.h"
#include "panels/pollwalk.h"
#include "support/tcppeer.h"
#include "support/testenv.h"

#include <QtTest>
#include <QtWidgets>

#include <functional>
#include <memory>

class TestPollWalk : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnv> m_env;

private slots:
    void initTestCase() { m_env = std::make_unique<TestEnv>(); }

    // legs: steps of one walk, each "p inBegin inEnd outBegin outEnd xTicks" (poll) or "t inBegin inEnd output xTicks"
    // (timing, output 0: every output), bounds as the boxes show them on those ticks. routes: "input>output" per tick,
    // "." for an idle tick.
    void walk_data()
    {
        QTest::addColumn<QString>("legs");
        QTest::addColumn<QString>("routes");
        QTest::newRow("poll, the first of the process")
            << "p 1 4 1 2 x6" << "1>1 2>2 3>1 4>2 . 1>1";
        QTest::newRow("poll output does not restart with the input")
            << "p 1 2 1 3 x10" << "1>1 2>2 . 1>3 2>1 . 1>2 2>3 . 1>1";
        QTest::newRow("poll single route") << "p 3 3 4 4 x4" << "3>4 . 3>4 .";
        QTest::newRow("poll End acts at once, Begin at the wrap")
            << "p 1 8 1 8 x2; p 2 8 2 3 x1; p 2 3 2 3 x3" << "1>1 2>2 3>3 . 2>2 3>3";
        QTest::newRow("poll output Begin above End")
            << "p 1 4 1 4 x1; p 1 4 3 2 x4" << "1>1 2>2 3>3 4>3 .";
        QTest::newRow("poll Begin above End only idles")
            << "p 8 3 1 8 x3; p 8 9 1 8 x1" << ". . . 8>1";
        QTest::newRow("no channels send nothing and start no walk")
            << "p 0 0 0 0 x1; p 0 0 2 2 x1; p 4 4 0 0 x1; t 0 0 0 x1; t 0 0 2 x1; p 2 3 3 4 x1; "
               "t 5 6 0 x1; t 7 7 1 x1"
            << ". . . . . 2>3 5>0 7>1";
        QTest::newRow("timing to every output")
            << "t 2 3 0 x4" << "2>0 3>0 . 2>0";
        QTest::newRow("timing single output, read every tick")
            << "t 1 3 2 x2; t 1 3 5 x3" << "1>2 2>2 3>5 . 1>5";
        QTest::newRow("timing Begin above End only idles")
            << "t 3 2 0 x2; t 3 2 4 x2" << ". . . .";
        QTest::newRow("each walk continues where it stood")
            << "t 1 3 0 x2; t 1 3 2 x2; p 1 4 1 4 x2; t 1 3 0 x2; p 1 4 1 4 x1; t 1 3 2 x3"
            << "1>0 2>0 1>2 2>2 1>1 2>2 3>0 . 3>3 3>2 . 1>2";
    }

    void walk()
    {
        QFETCH(QString, legs);
        QFETCH(QString, routes);
        PollWalk walk;
        QStringList seen;
        for (const QString &leg : legs.split(QLatin1Char(';'))) {
            const QStringList f = leg.simplified().split(QLatin1Char(' '));
            const int ticks = f.last().mid(1).toInt();
            for (int tick = 0; tick < ticks; ++tick) {
                const std::optional<PollWalk::Route> route = f.at(0) == QLatin1String("p")
                    ? walk.pollStep(f.at(1).toInt(), f.at(2).toInt(), f.at(3).toInt(), f.at(4).toInt())
                    : walk.timingStep(f.at(1).toInt(), f.at(2).toInt(), f.at(3).toInt());
                seen << (route ? QStringLiteral("%1>%2").arg(route->input).arg(route->output)
                               : QStringLiteral("."));
            }
        }
        QCOMPARE(seen.join(QLatin1Char(' ')), routes);
    }

    // One run of the page as the operator drives it: bounds and Sleep come from the
    // stored settings, poll hands over to timing, the language changes mid-run (the
    // buttons show their idle texts, the run goes on), timing is stopped, poll resumes.
    void panelRun()
    {
        TcpPeer peer;
        QVERIFY(protocoladapter::instance().connectTcp(QStringLiteral("127.0.0.1"), peer.portText()));
        m_env->writeFile("AppConfig.ini", "[General]\nincount=6\noutcount=5\n");
        m_env->writeFile("UserData.ini", "[General]\nPollInBegin=2\nPollInEnd=3\nPollOutStart=3\nPollOutEnd=5\n"
                                         "PollSleep=300\nTimingStart=5\nTimingEnd=6\nTimingOut=4\nTimingSleep=200\n");
        QStringList log;
        qint64 waitedMs[2] = {-1, -1};
        QTranslator chinese;
        QVERIFY(chinese.load(QStringLiteral(MC_RUN_DIR "/Lang/zh_cn.qm")));
        {
            AdvancedSetting page;
            const auto widget = [&page](const char *name) { return page.findChild<QWidget *>(QLatin1String(name)); };
            auto *poll = qobject_cast<QPushButton *>(widget("pollButton"));
            auto *timing = qobject_cast<QPushButton *>(widget("timingButton"));
            const QList<QWidget *> shown = {poll, widget("pollInfoLabel"), timing, widget("timingInfoLabel")};
        auto *sleep = qobject_cast<QComboBox *>(widget("pollSleepBox"));
        QStringList sleeps; // what the operator may choose, in milliseconds
        for (int i = 0; i < sleep->count(); ++i)
            sleeps << sleep->itemText(i);
        QCOMPARE(sleeps.join(' '), QStringLiteral("100 200 300 400 500 600 700 800 900 1000 2000 3000 4000 5000 6000 7000 8000"));
            QElapsedTimer clock;
            // The operator's clicks come after the step that sent the command is over.
            const auto later = [&page](const std::function<void()> &action) { QTimer::singleShot(0, &page, action); };
            connect(&protocoladapter::instance(), &protocoladapter::sendData, &page, [&](const QString &command) {
                QStringList line{command};
                for (QWidget *w : shown)
                    line << w->property("text").toString();
                log << line.join(QLatin1String(" | "));
                if (log.size() == 1 || log.size() == 4)
                    waitedMs[log.size() / 4] = clock.elapsed();
                if (log.size() == 1)
                    QCoreApplication::installTranslator(&chinese);
                else if (log.size() == 3)
                    later([&] { clock.restart(); timing->click(); });
                else if (log.size() == 4)
                    qobject_cast<QComboBox *>(widget("timingOutBox"))->setCurrentText(QStringLiteral("All"));
                else if (log.size() == 7)
                    later([&] { timing->click(); poll->click(); });
                else if (log.size() == 8)
                    later([&] { poll->click(); });
            });
            clock.start();
            poll->click();
            QTRY_COMPARE_WITH_TIMEOUT(log.size(), 8, 15000);
            QTRY_COMPARE(poll->text(), QStringLiteral("开始轮询"));
            // Chosen during the run: on disk while the page is up, as a killed program leaves it.
            QCOMPARE(QSettings(m_env->filePath("UserData.ini"), QSettings::IniFormat).value("TimingOut"), QVariant("0"));
        }
        const QStringList expected = {
            "1D2V3. | Stop Poll | 2 ----> 3 | Start Timing | Switch Info",
            "1D3V4. | 开始轮询 | 3 ----> 4 | 开始定时 | 切换信息",
            "1D2V5. | 开始轮询 | 2 ----> 5 | 开始定时 | 切换信息",
            "1D5V4. | 开始轮询 | 轮询信息 | 停止定时 | 5 ----> 4",
            "1D05TOALL. | 开始轮询 | 轮询信息 | 停止定时 | 5 ----> All",
            "1D06TOALL. | 开始轮询 | 轮询信息 | 停止定时 | 6 ----> All",
            "1D05TOALL. | 开始轮询 | 轮询信息 | 停止定时 | 5 ----> All",
            "1D3V3. | 停止轮询 | 3 ----> 3 | 开始定时 | 切换信息"};
        QCOMPARE(log, expected);
        // Each run waits its own Sleep before the first command.
        QVERIFY2(waitedMs[0] >= 300 && waitedMs[1] >= 200, qPrintable(QStringLiteral("%1 %2").arg(waitedMs[0]).arg(waitedMs[1])));

        // Nothing but the logged commands, in order, and then the sentinel.
        protocoladapter::instance().sendSwitch(9, 9);
        QByteArray wire;
        for (const QString &line : expected)
            wire += line.section(QLatin1Char(' '), 0, 0).toLatin1();
        QVERIFY(peer.waitForBytes(wire.size() + 6));
        QCOMPARE(peer.received(), wire + "1D9V9.");
        protocoladapter::instance().disconnectTcp();
        const QSettings stored(m_env->filePath("UserData.ini"), QSettings::IniFormat);
        QStringList values;
        for (const char *key : {"PollInBegin", "PollInEnd", "PollOutStart", "PollOutEnd", "PollSleep", "TimingStart",
                                "TimingEnd", "TimingOut", "TimingSleep"})
            values << stored.value(QLatin1String(key)).toString();
        QCOMPARE(values.join(QLatin1Char(' ')), QStringLiteral("2 3 3 5 300 5 6 0 200"));
    }

    // What UserData.ini holds after a page was up and the operator chose nothing: untouched when it held a choice of
    // every box, else each box's value written in (QSettings orders the keys).
    void storedOnce_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        const QByteArray all("[General]\nTimingSleep=200\nPollInBegin=2\nPollInEnd=3\nPollOutStart=3\nPollOutEnd=5\n"
                             "PollSleep=300\nTimingStart=5\nTimingEnd=6\nTimingOut=0\n");
        QTest::newRow("every box stored") << all << all;
        QTest::newRow("none stored") << QByteArray("[General]\nid=7\n")
                                     << QByteArray("[General]\nPollInBegin=1\nPollInEnd=1\nPollOutEnd=1\nPollOutStart=1\n"
                                                   "PollSleep=100\nTimingEnd=1\nTimingOut=0\nTimingSleep=100\nTimingStart=1\nid=7\n");
    }

    void storedOnce()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        m_env->writeFile("AppConfig.ini", "[General]\nincount=6\noutcount=5\n");
        m_env->writeFile("UserData.ini", before);
        AdvancedSetting().show();
        QCOMPARE(m_env->readFile("UserData.ini"), after);
    }
};

QTEST_MAIN(TestPollWalk)
#include "tst_pollwalk.moc"
