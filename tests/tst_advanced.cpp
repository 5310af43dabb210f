#include "link/protocoladapter.h"
#include "panels/advancedsetting.h"
#include "support/tcppeer.h"
#include "support/testenv.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <QTranslator>
#include <QtTest>

#include <functional>
#include <memory>
#include <utility>

// The walk positions belong to the whole process and survive every page and
// every run, so the run tests below follow on from each other in this order;
// each notes where the walks stand when it begins.

namespace {

QStringList sleepTexts()
{
    return {"100", "200", "300", "400", "500", "600", "700", "800", "900",
            "1000", "2000", "3000", "4000", "5000", "6000", "7000", "8000"};
}

const QString InfoStyle = QStringLiteral(
    "QLabel{color: rgb(255, 15, 15);                               "
    "font-family: 'Microsoft YaHei';                               "
    "font-size: 16px;}");

const char *const BoxNames[] = {"pollInBeginBox", "pollInEndBox", "pollOutBeginBox",
                                "pollOutEndBox", "pollSleepBox", "timingInBeginBox",
                                "timingInEndBox", "timingOutBox", "timingSleepBox"};

// What one tick of the switch timer did, as "command | info label after the
// step"; a tick that sent nothing shows "-" for the command.
constexpr char IdleTick[] = "-";
constexpr char TickSeparator[] = " | ";

QString sent(const QString &command, const QString &label)
{
    return command + QLatin1String(TickSeparator) + label;
}

QString idle(const QString &label)
{
    return sent(QLatin1String(IdleTick), label);
}

QStringList idleTicks(int count, const QString &label)
{
    QStringList ticks;
    for (int i = 0; i < count; ++i)
        ticks << idle(label);
    return ticks;
}

// Watches one run: notes, on every tick of the page's switch timer, what the
// step sent and showed, and ends the run right after the last wanted tick,
// before another can come. afterTick(k) runs after tick k (1-based), to change
// a box during the run.
class RunRecorder : public QObject
{
public:
    RunRecorder(QPushButton *runButton, QLabel *info, int count, std::function<void(int)> afterTick)
        : m_runButton(runButton)
        , m_info(info)
        , m_count(count)
        , m_afterTick(std::move(afterTick))
    {
        connect(&protocoladapter::instance(), &protocoladapter::sendData, this,
                [this](const QString &text) { m_command += text; });
        m_clock.start();
    }

    // Connected after the page's own step, so each tick is seen once the step is done.
    void watch(QTimer *timer)
    {
        connect(timer, &QTimer::timeout, this, [this, timer] { onTick(timer); });
    }

    QStringList ticks() const { return m_ticks; }
    qint64 firstTickMs() const { return m_firstTickMs; }

private:
    void onTick(QTimer *timer)
    {
        if (m_ticks.isEmpty())
            m_firstTickMs = m_clock.elapsed();
        m_ticks.append(m_command.isEmpty() ? idle(m_info->text()) : sent(m_command, m_info->text()));
        m_command.clear();
        if (m_afterTick)
            m_afterTick(m_ticks.size());
        if (m_ticks.size() == m_count) {
            // Holding the timer makes sure no further tick slips in before the click ends the run.
            timer->stop();
            QTimer::singleShot(0, m_runButton, &QPushButton::click);
        }
    }

    QPushButton *m_runButton;
    QLabel *m_info;
    int m_count;
    std::function<void(int)> m_afterTick;
    QElapsedTimer m_clock;
    QString m_command;
    QStringList m_ticks;
    qint64 m_firstTickMs = -1;
};

} // namespace

class TestAdvanced : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void freshPage();
    void presetsFromStoredSettings_data();
    void presetsFromStoredSettings();
    void storedSettingsRoundTrip();

    void pollFirstRunOfProcess();
    void pollOutputDoesNotRestartWithInput();
    void pollStopAndStartContinues();
    void pollBoundsReadEveryTick();
    void timingAllFirstRunOfProcess();
    void timingOutputWalksAreSeparate();
    void beginAboveEndOnlyIdles();
    void noChannelsSendNothing();
    void otherRunButtonSwitchesMode();
    void languageChangeShowsIdleTexts();
    void runWithoutLinkStillShowsRoutes();

private:
    static QComboBox *box(AdvancedSetting &page, const char *name);
    static void choose(AdvancedSetting &page, const char *name, const QString &text);
    static QPushButton *button(AdvancedSetting &page, const char *name);
    static QLabel *label(AdvancedSetting &page, const char *name);
    static QTimer *switchTimer(AdvancedSetting &page);
    // Starts a run with the button and records count ticks (see RunRecorder).
    void runTicks(AdvancedSetting &page, const char *buttonName, const char *labelName, int count,
                  QStringList &ticks, const std::function<void(int)> &afterTick = {});
    QByteArray peerBytes(const QStringList &ticks);

    std::unique_ptr<TestEnv> m_env;
    std::unique_ptr<TcpPeer> m_peer;
    qint64 m_firstTickMs = -1;
};

void TestAdvanced::initTestCase()
{
    m_env = std::make_unique<TestEnv>();
    m_peer = std::make_unique<TcpPeer>();
    QVERIFY(protocoladapter::instance().connectTcp(QStringLiteral("127.0.0.1"), m_peer->portText()));
}

void TestAdvanced::init()
{
    QFile::remove(m_env->filePath("UserData.ini"));
    QFile::remove(m_env->filePath("AppConfig.ini"));
    m_peer->clearReceived();
}

void TestAdvanced::cleanupTestCase()
{
    protocoladapter::instance().disconnectTcp();
}

QComboBox *TestAdvanced::box(AdvancedSetting &page, const char *name)
{
    return page.findChild<QComboBox *>(QLatin1String(name));
}

void TestAdvanced::choose(AdvancedSetting &page, const char *name, const QString &text)
{
    QComboBox *target = box(page, name);
    const int index = target->findText(text);
    QVERIFY2(index >= 0, name);
    target->setCurrentIndex(index);
}

QPushButton *TestAdvanced::button(AdvancedSetting &page, const char *name)
{
    return page.findChild<QPushButton *>(QLatin1String(name));
}

QLabel *TestAdvanced::label(AdvancedSetting &page, const char *name)
{
    return page.findChild<QLabel *>(QLatin1String(name));
}

QTimer *TestAdvanced::switchTimer(AdvancedSetting &page)
{
    return page.findChild<QTimer *>(QString(), Qt::FindDirectChildrenOnly);
}

void TestAdvanced::runTicks(AdvancedSetting &page, const char *buttonName, const char *labelName,
                            int count, QStringList &ticks, const std::function<void(int)> &afterTick)
{
    QPushButton *runButton = button(page, buttonName);
    RunRecorder recorder(runButton, label(page, labelName), count, afterTick);
    runButton->click();
    QTimer *timer = switchTimer(page);
    QVERIFY(timer);
    recorder.watch(timer);
    QTRY_VERIFY_WITH_TIMEOUT(!switchTimer(page), 20000);
    ticks = recorder.ticks();
    m_firstTickMs = recorder.firstTickMs();
}

QByteArray TestAdvanced::peerBytes(const QStringList &ticks)
{
    QByteArray expected;
    for (const QString &tick : ticks) {
        const QString command = tick.section(QLatin1String(TickSeparator), 0, 0);
        if (command != QLatin1String(IdleTick))
            expected += command.toLatin1();
    }
    m_peer->waitForBytes(expected.size());
    return expected;
}

void TestAdvanced::freshPage()
{
    m_env->writeFile("AppConfig.ini", "[General]\nincount=4\noutcount=3\n");
    AdvancedSetting page;

    const QStringList inputs = {"1", "2", "3", "4"};
    const QStringList outputs = {"1", "2", "3"};
    const QStringList contents[] = {inputs, inputs, outputs, outputs, sleepTexts(),
                                    inputs, inputs, QStringList{"All"} + outputs, sleepTexts()};
    const QString shown[] = {"1", "1", "1", "1", "100", "1", "1", "All", "100"};
    for (int i = 0; i < 9; ++i) {
        QComboBox *target = box(page, BoxNames[i]);
        QVERIFY2(target, BoxNames[i]);
        QStringList items;
        for (int k = 0; k < target->count(); ++k)
            items << target->itemText(k);
        QCOMPARE(items, contents[i]);
        QCOMPARE(target->currentText(), shown[i]);
        QVERIFY(!target->isEditable());
        QVERIFY(qobject_cast<QListView *>(target->view()));
    }

    QStringList titles;
    const QList<QGroupBox *> groups = page.findChildren<QGroupBox *>();
    for (const QGroupBox *group : groups)
        titles << group->title();
    QCOMPARE(titles, (QStringList{"Poll Setting", "Timing Switch"}));
    QStringList captions;
    const QList<QLabel *> labels = page.findChildren<QLabel *>();
    for (const QLabel *caption : labels) {
        if (caption->styleSheet().isEmpty())
            captions << caption->text();
    }
    QCOMPARE(captions, (QStringList{"Input Begin", "Input End", "Output Begin", "Output End", "Sleep",
                                    "Input Begin", "Input End", "Output", "Sleep"}));
    QCOMPARE(button(page, "pollButton")->text(), QStringLiteral("Start Poll"));
    QCOMPARE(button(page, "timingButton")->text(), QStringLiteral("Start Timing"));
    QCOMPARE(label(page, "pollInfoLabel")->text(), QStringLiteral("Poll Info"));
    QCOMPARE(label(page, "timingInfoLabel")->text(), QStringLiteral("Switch Info"));
    QCOMPARE(label(page, "pollInfoLabel")->styleSheet(), InfoStyle);
    QCOMPARE(label(page, "timingInfoLabel")->styleSheet(), InfoStyle);
    QVERIFY(!switchTimer(page));

    QSignalSpy back(&page, &AdvancedSetting::goBack);
    button(page, "backButton")->click();
    QCOMPARE(back.count(), 1);
}

void TestAdvanced::presetsFromStoredSettings_data()
{
    QTest::addColumn<QByteArray>("userData");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("all match") << QByteArray("[General]\nPollInBegin=2\nPollInEnd=5\nPollOutStart=3\n"
                                             "PollOutEnd=7\nPollSleep=800\nTimingStart=4\nTimingEnd=9\n"
                                             "TimingOut=6\nTimingSleep=3000\n")
                               << QStringList{"2", "5", "3", "7", "800", "4", "9", "6", "3000"};
    QTest::newRow("no match keeps the first item")
        << QByteArray("[General]\nPollInBegin=17\nPollInEnd=0\nPollOutStart=-2\nPollOutEnd=abc\n"
                      "PollSleep=150\nTimingStart=99\nTimingEnd=\nTimingOut=0\nTimingSleep=9000\n")
        << QStringList{"1", "1", "1", "1", "100", "1", "1", "All", "100"};
    QTest::newRow("edges of the lists") << QByteArray("[General]\nPollInBegin=16\nPollOutEnd=16\n"
                                                      "PollSleep=100\nTimingOut=16\nTimingSleep=8000\n")
                                        << QStringList{"16", "1", "1", "16", "100", "1", "1", "16", "8000"};
}

void TestAdvanced::presetsFromStoredSettings()
{
    QFETCH(QByteArray, userData);
    QFETCH(QStringList, shown);
    m_env->writeFile("UserData.ini", userData);
    AdvancedSetting page;
    for (int i = 0; i < 9; ++i)
        QCOMPARE(box(page, BoxNames[i])->currentText(), shown.at(i));
}

void TestAdvanced::storedSettingsRoundTrip()
{
    const QStringList chosen = {"3", "12", "2", "9", "700", "5", "14", "All", "6000"};
    {
        AdvancedSetting page;
        for (int i = 0; i < 9; ++i)
            choose(page, BoxNames[i], chosen.at(i));
        // Destroyed in the middle of a run: no tick at 8000 ms, nothing but the save.
        choose(page, "pollSleepBox", "8000");
        button(page, "pollButton")->click();
        choose(page, "pollSleepBox", "700");
        QVERIFY(switchTimer(page));
    }
    QSettings stored(m_env->filePath("UserData.ini"), QSettings::IniFormat);
    const QStringList keys = {"PollInBegin", "PollInEnd", "PollOutStart", "PollOutEnd", "PollSleep",
                              "TimingStart", "TimingEnd", "TimingOut", "TimingSleep"};
    const QStringList values = {"3", "12", "2", "9", "700", "5", "14", "0", "6000"};
    for (int i = 0; i < keys.size(); ++i)
        QCOMPARE(stored.value(keys.at(i)).toString(), values.at(i));
    QVERIFY(m_peer->received().isEmpty());

    AdvancedSetting again;
    for (int i = 0; i < 9; ++i)
        QCOMPARE(box(again, BoxNames[i])->currentText(), chosen.at(i));
}

// Walks start here: nothing has stepped yet in this process.
void TestAdvanced::pollFirstRunOfProcess()
{
    AdvancedSetting page;
    choose(page, "pollInEndBox", "4");
    choose(page, "pollOutEndBox", "2");
    QStringList ticks;
    runTicks(page, "pollButton", "pollInfoLabel", 6, ticks);
    if (QTest::currentTestFailed())
        return;

    const QStringList expected = {sent("1D1V1.", "1 ----> 1"), sent("1D2V2.", "2 ----> 2"),
                                    sent("1D3V1.", "3 ----> 1"), sent("1D4V2.", "4 ----> 2"),
                                    idle("4 ----> 2"), sent("1D1V1.", "1 ----> 1")};
    QCOMPARE(ticks, expected);
    QCOMPARE(m_peer->received(), peerBytes(ticks));
    // Sleep defaults to 100 ms, and the first command waits one interval.
    QVERIFY2(m_firstTickMs >= 100, qPrintable(QString::number(m_firstTickMs)));
    QCOMPARE(button(page, "pollButton")->text(), QStringLiteral("Start Poll"));
    QCOMPARE(label(page, "pollInfoLabel")->text(), QStringLiteral("Poll Info"));
}

// Walk stands at input 2, output 2; a new page picks it up.
void TestAdvanced::pollOutputDoesNotRestartWithInput()
{
    AdvancedSetting page;
    choose(page, "pollInEndBox", "2");
    choose(page, "pollOutEndBox", "3");
    QStringList ticks;
    runTicks(page, "pollButton", "pollInfoLabel", 9, ticks);
    if (QTest::currentTestFailed())
        return;

    const QStringList expected = {sent("1D2V2.", "2 ----> 2"), idle("2 ----> 2"),
                                    sent("1D1V3.", "1 ----> 3"), sent("1D2V1.", "2 ----> 1"),
                                    idle("2 ----> 1"), sent("1D1V2.", "1 ----> 2"),
                                    sent("1D2V3.", "2 ----> 3"), idle("2 ----> 3"),
                                    sent("1D1V1.", "1 ----> 1")};
    QCOMPARE(ticks, expected);
    QCOMPARE(m_peer->received(), peerBytes(ticks));
}

// Walk stands at input 2, output 2 again.
void TestAdvanced::pollStopAndStartContinues()
{
    AdvancedSetting page;
    choose(page, "pollInEndBox", "8");
    choose(page, "pollOutEndBox", "8");
    choose(page, "pollSleepBox", "200");
    QStringList first;
    runTicks(page, "pollButton", "pollInfoLabel", 2, first);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(first, (QStringList{sent("1D2V2.", "2 ----> 2"), sent("1D3V3.", "3 ----> 3")}));
    QVERIFY2(m_firstTickMs >= 200, qPrintable(QString::number(m_firstTickMs)));

    QStringList second;
    runTicks(page, "pollButton", "pollInfoLabel", 1, second);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(second, (QStringList{sent("1D4V4.", "4 ----> 4")}));
    QCOMPARE(m_peer->received(), peerBytes(first + second));
}

// Walk stands at input 5, output 5. End bounds act on the next tick, Begin
// bounds at the next wrap.
void TestAdvanced::pollBoundsReadEveryTick()
{
    AdvancedSetting page;
    choose(page, "pollInEndBox", "8");
    choose(page, "pollOutEndBox", "8");
    QStringList ticks;
    runTicks(page, "pollButton", "pollInfoLabel", 9, ticks, [&page](int tick) {
        if (tick == 1) {
            choose(page, "pollInEndBox", "5");
            choose(page, "pollOutEndBox", "6");
        } else if (tick == 3) {
            choose(page, "pollInBeginBox", "3");
        }
    });
    if (QTest::currentTestFailed())
        return;

    const QStringList expected = {sent("1D5V5.", "5 ----> 5"), idle("5 ----> 5"),
                                    sent("1D1V6.", "1 ----> 6"), sent("1D2V1.", "2 ----> 1"),
                                    sent("1D3V2.", "3 ----> 2"), sent("1D4V3.", "4 ----> 3"),
                                    sent("1D5V4.", "5 ----> 4"), idle("5 ----> 4"),
                                    sent("1D3V5.", "3 ----> 5")};
    QCOMPARE(ticks, expected);
    QCOMPARE(m_peer->received(), peerBytes(ticks));
}

// Neither timing walk has stepped yet.
void TestAdvanced::timingAllFirstRunOfProcess()
{
    AdvancedSetting page;
    choose(page, "timingInBeginBox", "2");
    choose(page, "timingInEndBox", "3");
    QStringList ticks;
    runTicks(page, "timingButton", "timingInfoLabel", 4, ticks);
    if (QTest::currentTestFailed())
        return;

    const QStringList expected = {sent("1D02TOALL.", "2 ----> All"), sent("1D03TOALL.", "3 ----> All"),
                                    idle("3 ----> All"), sent("1D02TOALL.", "2 ----> All")};
    QCOMPARE(ticks, expected);
    QCOMPARE(m_peer->received(), peerBytes(ticks));
    QCOMPARE(button(page, "timingButton")->text(), QStringLiteral("Start Timing"));
    QCOMPARE(label(page, "timingInfoLabel")->text(), QStringLiteral("Switch Info"));
}

// The "All" walk stands at input 3; the single-output walk has not stepped.
void TestAdvanced::timingOutputWalksAreSeparate()
{
    AdvancedSetting page;
    choose(page, "timingInEndBox", "3");
    choose(page, "timingOutBox", "2");
    QStringList ticks;
    runTicks(page, "timingButton", "timingInfoLabel", 9, ticks, [&page](int tick) {
        if (tick == 2 || tick == 8)
            choose(page, "timingOutBox", "All");
        else if (tick == 5)
            choose(page, "timingOutBox", "2");
    });
    if (QTest::currentTestFailed())
        return;

    const QStringList expected = {sent("1D1V2.", "1 ----> 2"), sent("1D2V2.", "2 ----> 2"),
                                    sent("1D03TOALL.", "3 ----> All"), idle("3 ----> All"),
                                    sent("1D01TOALL.", "1 ----> All"), sent("1D3V2.", "3 ----> 2"),
                                    idle("3 ----> 2"), sent("1D1V2.", "1 ----> 2"),
                                    sent("1D02TOALL.", "2 ----> All")};
    QCOMPARE(ticks, expected);
    QCOMPARE(m_peer->received(), peerBytes(ticks));
}

// Poll stands at input 4, the "All" walk at input 3.
void TestAdvanced::beginAboveEndOnlyIdles()
{
    AdvancedSetting page;
    choose(page, "pollInBeginBox", "8");
    choose(page, "pollInEndBox", "3");
    choose(page, "pollOutEndBox", "8");
    choose(page, "timingInBeginBox", "3");
    choose(page, "timingInEndBox", "2");
    QStringList poll;
    runTicks(page, "pollButton", "pollInfoLabel", 4, poll);
    QStringList timing;
    runTicks(page, "timingButton", "timingInfoLabel", 4, timing);
    if (QTest::currentTestFailed())
        return;

    QCOMPARE(poll, idleTicks(4, "Poll Info"));
    QCOMPARE(timing, idleTicks(4, "Switch Info"));
    QVERIFY(m_peer->received().isEmpty());
}

// A corrupt channel count leaves the boxes empty; no route to channel 0 may go out.
void TestAdvanced::noChannelsSendNothing()
{
    m_env->writeFile("AppConfig.ini", "[General]\nincount=-3\noutcount=-3\n");
    AdvancedSetting page;
    QCOMPARE(box(page, "pollInBeginBox")->count(), 0);
    QCOMPARE(box(page, "timingOutBox")->count(), 1);
    QStringList poll;
    runTicks(page, "pollButton", "pollInfoLabel", 3, poll);
    QStringList timing;
    runTicks(page, "timingButton", "timingInfoLabel", 3, timing);
    if (QTest::currentTestFailed())
        return;

    QCOMPARE(poll, idleTicks(3, "Poll Info"));
    QCOMPARE(timing, idleTicks(3, "Switch Info"));
    QVERIFY(m_peer->received().isEmpty());
}

void TestAdvanced::otherRunButtonSwitchesMode()
{
    AdvancedSetting page;
    choose(page, "pollInEndBox", "8");
    choose(page, "pollOutEndBox", "8");
    QPushButton *poll = button(page, "pollButton");
    QPushButton *timing = button(page, "timingButton");
    QLabel *pollInfo = label(page, "pollInfoLabel");
    QLabel *timingInfo = label(page, "timingInfoLabel");

    poll->click();
    QCOMPARE(poll->text(), QStringLiteral("Stop Poll"));
    QTRY_VERIFY(pollInfo->text().contains(QLatin1String(" ----> ")));

    timing->click();
    QCOMPARE(poll->text(), QStringLiteral("Start Poll"));
    QCOMPARE(pollInfo->text(), QStringLiteral("Poll Info"));
    QCOMPARE(timing->text(), QStringLiteral("Stop Timing"));
    QCOMPARE(page.findChildren<QTimer *>(QString(), Qt::FindDirectChildrenOnly).size(), 1);
    m_peer->clearReceived();
    QTRY_VERIFY(timingInfo->text().endsWith(QLatin1String(" ----> All")));
    QVERIFY(m_peer->waitForBytes(10));
    QVERIFY(m_peer->received().endsWith("TOALL."));
    QCOMPARE(pollInfo->text(), QStringLiteral("Poll Info"));

    poll->click();
    QCOMPARE(timing->text(), QStringLiteral("Start Timing"));
    QCOMPARE(timingInfo->text(), QStringLiteral("Switch Info"));
    QCOMPARE(poll->text(), QStringLiteral("Stop Poll"));

    poll->click();
    QVERIFY(!switchTimer(page));
    QCOMPARE(poll->text(), QStringLiteral("Start Poll"));
    QCOMPARE(timing->text(), QStringLiteral("Start Timing"));
}

void TestAdvanced::languageChangeShowsIdleTexts()
{
    AdvancedSetting page;
    QPushButton *poll = button(page, "pollButton");
    QLabel *pollInfo = label(page, "pollInfoLabel");
    poll->click();
    QTRY_VERIFY(pollInfo->text().contains(QLatin1String(" ----> ")));

    QTranslator chinese;
    QVERIFY(chinese.load(QStringLiteral(MC_RUN_DIR "/Lang/zh_cn.qm")));
    QCoreApplication::installTranslator(&chinese);
    // The language change reaches the page as a posted event.
    QTRY_COMPARE(page.findChild<QGroupBox *>()->title(), QStringLiteral("轮询设置"));
    QCOMPARE(button(page, "backButton")->text(), QStringLiteral("返回"));
    QCOMPARE(poll->text(), QStringLiteral("开始轮询"));
    QCOMPARE(pollInfo->text(), QStringLiteral("轮询信息"));
    QCOMPARE(button(page, "timingButton")->text(), QStringLiteral("开始定时"));
    QCOMPARE(label(page, "timingInfoLabel")->text(), QStringLiteral("切换信息"));
    QCOMPARE(box(page, "timingOutBox")->itemText(0), QStringLiteral("All"));
    QVERIFY(switchTimer(page));
    // The route is shown in the device's notation, untranslated.
    QTRY_VERIFY(pollInfo->text().contains(QLatin1String(" ----> ")));

    // The running poll still ends on its own button, and the kept captions follow the language.
    poll->click();
    QVERIFY(!switchTimer(page));
    QCOMPARE(poll->text(), QStringLiteral("开始轮询"));
    poll->click();
    QCOMPARE(poll->text(), QStringLiteral("停止轮询"));
    poll->click();

    QCoreApplication::removeTranslator(&chinese);
    QTRY_COMPARE(page.findChild<QGroupBox *>()->title(), QStringLiteral("Poll Setting"));
    QCOMPARE(poll->text(), QStringLiteral("Start Poll"));
}

// Last: it drops the link for good.
void TestAdvanced::runWithoutLinkStillShowsRoutes()
{
    protocoladapter::instance().disconnectTcp();
    QVERIFY(!protocoladapter::instance().isConnected());
    AdvancedSetting page;
    choose(page, "pollInEndBox", "2");
    QStringList ticks;
    runTicks(page, "pollButton", "pollInfoLabel", 6, ticks);
    if (QTest::currentTestFailed())
        return;

    // Nothing goes out, yet the walk moves on: both routes of the range show up.
    for (const QString &tick : qAsConst(ticks))
        QVERIFY2(tick.startsWith(QLatin1String(IdleTick)), qPrintable(tick));
    QVERIFY2(ticks.contains(idle("1 ----> 1")) && ticks.contains(idle("2 ----> 1")),
             qPrintable(ticks.join(", ")));
    QVERIFY(m_peer->received().isEmpty());
}

QTEST_MAIN(TestAdvanced)
#include "tst_advanced.moc"
