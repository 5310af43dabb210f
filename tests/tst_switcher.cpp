#include "config/linkparameters.h"
#include "link/protocoladapter.h"
#include "panels/advancedsetting.h"
#include "panels/cswitcherframe.h"
#include "support/modalhelper.h"
#include "support/tcppeer.h"
#include "support/testenv.h"
#include "widgets/checkboxwithmenu.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStyleOptionButton>
#include <QTranslator>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

const QByteArray Sentinel("1TOONE.");

// Clicks where the style says the button takes clicks (a check box only reacts on its click rect).
void click(QAbstractButton *button)
{
    QPoint point = button->rect().center();
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    if (qobject_cast<QCheckBox *>(button))
        point = button->style()->subElementRect(QStyle::SE_CheckBoxClickRect, &option, button).center();
    else if (qobject_cast<QRadioButton *>(button))
        point = button->style()->subElementRect(QStyle::SE_RadioButtonClickRect, &option, button).center();
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, point);
}

QList<int> checkedChannels(const QList<CheckBoxWithMenu *> &buttons)
{
    QList<int> channels;
    for (int i = 0; i < buttons.size(); ++i) {
        if (buttons.at(i)->isChecked())
            channels.append(i + 1);
    }
    return channels;
}

// The panel as the operator sees it: groups found by title, buttons by text.
struct Panel
{
    Panel()
        : frame(new CSwitcherFrame)
    {
        frame->resize(760, 420);
        frame->show();
        inputs = group(QStringLiteral("Matrix In"))->findChildren<CheckBoxWithMenu *>();
        outputs = group(QStringLiteral("Matrix Out"))->findChildren<CheckBoxWithMenu *>();
    }

    QGroupBox *group(const QString &title) const
    {
        for (QGroupBox *box : frame->findChildren<QGroupBox *>()) {
            if (box->title() == title)
                return box;
        }
        return nullptr;
    }
    template<typename T> T *button(const QString &text) const
    {
        for (T *candidate : frame->findChildren<T *>()) {
            if (candidate->text() == text)
                return candidate;
        }
        qWarning() << "no button" << text;
        return nullptr;
    }
    void press(const QString &text) const { click(button<QPushButton>(text)); }
    void pick(const QString &type) const { click(button<QRadioButton>(type)); }
    // "i3 o5": click input 3, then output 5 (channel numbers as on the wire).
    void select(const QString &clicks) const
    {
        for (const QString &step : clicks.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const int index = step.midRef(1).toInt() - 1;
            click(step.startsWith(QLatin1Char('i')) ? inputs.at(index) : outputs.at(index));
        }
    }

    std::unique_ptr<CSwitcherFrame> frame;
    QList<CheckBoxWithMenu *> inputs;
    QList<CheckBoxWithMenu *> outputs;
};

} // namespace

class TestSwitcher : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void selectionRules_data();
    void selectionRules();
    void typeChangeClearsSelection();
    void switchAllAndOneByOne_data();
    void switchAllAndOneByOne();
    void writeSendsEdidInOrderOneSecondApart();
    void writeConditions_data();
    void writeConditions();
    void rename_data();
    void rename();
    void renameOutputReusesTheDialog();
    void channelNamesFromTheStore();
    void gridShape_data();
    void gridShape();
    void settingAndBack();
    void storedTypeAtDestruction_data();
    void storedTypeAtDestruction();
    void languageChange();

private:
    // What reached the device while action ran. A known command closes the
    // capture, and every byte the adapter announced is waited for, so "nothing"
    // is checked without waiting on a clock.
    QByteArray sentBy(const std::function<void()> &action)
    {
        m_peer->clearReceived();
        QSignalSpy announced(&protocoladapter::instance(), &protocoladapter::sendData);
        action();
        protocoladapter::instance().sendOneByOne();
        int total = 0;
        for (const QList<QVariant> &command : qAsConst(announced))
            total += command.at(0).toString().toLatin1().size();
        if (!m_peer->waitForBytes(total))
            return QByteArray("<bytes missing>");
        const QByteArray received = m_peer->received();
        if (!received.endsWith(Sentinel))
            return "<no closing command> " + received;
        return received.chopped(Sentinel.size());
    }
    void writeAppConfig(int inCount, int outCount)
    {
        m_env->writeFile("AppConfig.ini", QStringLiteral("[General]\nincount=%1\noutcount=%2\n")
                                              .arg(inCount).arg(outCount).toLatin1());
    }

    std::unique_ptr<TestEnv> m_env;
    std::unique_ptr<TcpPeer> m_peer;
};

void TestSwitcher::initTestCase()
{
    m_env = std::make_unique<TestEnv>(true);
    m_peer = std::make_unique<TcpPeer>();
    QVERIFY(protocoladapter::instance().connectTcp(QStringLiteral("127.0.0.1"), m_peer->portText()));
    QTRY_VERIFY(m_peer->hasClient());
}

void TestSwitcher::init()
{
    for (const char *file : {"AppConfig.ini", "UserData.ini", "AliasConfig.ini"})
        QFile::remove(m_env->filePath(QLatin1String(file)));
    linkParameters().audio = 1;
}

void TestSwitcher::selectionRules_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("clicks");
    QTest::addColumn<QList<int>>("inputs");
    QTest::addColumn<QList<int>>("outputs");
    QTest::addColumn<QByteArray>("switchSends");

    QTest::newRow("video: outputs clicked out of order go out ascending")
        << 1 << "i3 o5 o2" << QList<int>{3} << QList<int>{2, 5} << QByteArray("1D3V2,5.");
    QTest::newRow("video: ascending by number, not by text")
        << 1 << "i3 o12 o3 o10" << QList<int>{3} << QList<int>{3, 10, 12} << QByteArray("1D3V3,10,12.");
    QTest::newRow("video: a second input replaces the first")
        << 1 << "i3 i4 o1" << QList<int>{4} << QList<int>{1} << QByteArray("1D4V1.");
    QTest::newRow("video: clicking the checked input again leaves none")
        << 1 << "i4 i4 o1" << QList<int>{} << QList<int>{1} << QByteArray();
    QTest::newRow("video: an unchecked output leaves the selection")
        << 1 << "i2 o1 o6 o1" << QList<int>{2} << QList<int>{6} << QByteArray("1D2V6.");
    QTest::newRow("all: one input, outputs add up")
        << 0 << "i1 o1 o3 i2" << QList<int>{2} << QList<int>{1, 3} << QByteArray("1D2V1,3.");
    QTest::newRow("audio: one input, outputs add up")
        << 2 << "i16 o16 o8" << QList<int>{16} << QList<int>{8, 16} << QByteArray("1D16V8,16.");
    QTest::newRow("no output: nothing")
        << 1 << "i5" << QList<int>{5} << QList<int>{} << QByteArray();
    QTest::newRow("edid: inputs add up, one output")
        << 3 << "i3 i1 o1 o2" << QList<int>{1, 3} << QList<int>{2} << QByteArray();
    QTest::newRow("edid: one input routes to the one output")
        << 3 << "i2 o1 o3" << QList<int>{2} << QList<int>{3} << QByteArray("1D2V3.");
    QTest::newRow("stored type outside 0-3: both sides add up")
        << 7 << "i1 i2 o1 o2" << QList<int>{1, 2} << QList<int>{1, 2} << QByteArray();
    QTest::newRow("stored type outside 0-3: one input still switches")
        << -1 << "i5 o12 o3" << QList<int>{5} << QList<int>{3, 12} << QByteArray("1D5V3,12.");
}

void TestSwitcher::selectionRules()
{
    QFETCH(int, type);
    QFETCH(QString, clicks);
    QFETCH(QList<int>, inputs);
    QFETCH(QList<int>, outputs);
    QFETCH(QByteArray, switchSends);

    linkParameters().audio = type;
    Panel panel;
    panel.select(clicks);
    QCOMPARE(checkedChannels(panel.inputs), inputs);
    QCOMPARE(checkedChannels(panel.outputs), outputs);
    QCOMPARE(sentBy([&] { panel.press(QStringLiteral("Switch")); }), switchSends);
    // An action changes neither the selection nor the tiles.
    QCOMPARE(checkedChannels(panel.inputs), inputs);
    QCOMPARE(sentBy([&] { panel.press(QStringLiteral("Switch")); }), switchSends);
}

void TestSwitcher::typeChangeClearsSelection()
{
    Panel panel;
    QVERIFY(panel.button<QRadioButton>(QStringLiteral("Video"))->isChecked());
    panel.select(QStringLiteral("i3 o5 o6"));
    panel.pick(QStringLiteral("Audio"));
    QCOMPARE(checkedChannels(panel.inputs), QList<int>{});
    QCOMPARE(checkedChannels(panel.outputs), QList<int>{});
    QCOMPARE(linkParameters().audio, 2);
    QCOMPARE(QSettings(m_env->filePath("UserData.ini"), QSettings::IniFormat).value("audio").toInt(), 2);
    QCOMPARE(sentBy([&] { panel.press(QStringLiteral("Switch")); }), QByteArray());

    // Clicking the radio that is already checked clears as well.
    panel.select(QStringLiteral("i4 o1"));
    panel.pick(QStringLiteral("Audio"));
    QVERIFY(panel.button<QRadioButton>(QStringLiteral("Audio"))->isChecked());
    QCOMPARE(checkedChannels(panel.inputs), QList<int>{});
    QCOMPARE(checkedChannels(panel.outputs), QList<int>{});
    QCOMPARE(sentBy([&] { panel.press(QStringLiteral("Switch All")); }), QByteArray());

    // EDID now: inputs add up.
    panel.pick(QStringLiteral("EDID"));
    panel.select(QStringLiteral("i1 i2 o1 o2"));
    QCOMPARE(checkedChannels(panel.inputs), (QList<int>{1, 2}));
    QCOMPARE(checkedChannels(panel.outputs), QList<int>{2});
}

void TestSwitcher::switchAllAndOneByOne_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("clicks");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QByteArray>("sends");
    QTest::newRow("switch all, one input") << 1 << "i3" << "Switch All" << QByteArray("1D03TOALL.");
    QTest::newRow("switch all ignores outputs") << 1 << "i12 o2 o4" << "Switch All" << QByteArray("1D12TOALL.");
    QTest::newRow("switch all, two inputs (EDID)") << 3 << "i1 i2" << "Switch All" << QByteArray();
    QTest::newRow("switch all, no input") << 1 << "o1" << "Switch All" << QByteArray();
    QTest::newRow("one by one, nothing selected") << 1 << "" << "One By One" << Sentinel;
    QTest::newRow("one by one, anything selected") << 3 << "i1 i2 o3" << "One By One" << Sentinel;
}

void TestSwitcher::switchAllAndOneByOne()
{
    QFETCH(int, type);
    QFETCH(QString, clicks);
    QFETCH(QString, action);
    QFETCH(QByteArray, sends);

    linkParameters().audio = type;
    Panel panel;
    panel.select(clicks);
    QCOMPARE(sentBy([&] { panel.press(action); }), sends);
}

void TestSwitcher::writeSendsEdidInOrderOneSecondApart()
{
    linkParameters().audio = 3;
    Panel panel;
    panel.select(QStringLiteral("i3 i1 o2"));

    QElapsedTimer clock;
    QList<qint64> sentAt;
    QMetaObject::Connection stamp = connect(&protocoladapter::instance(), &protocoladapter::sendData,
                                            this, [&] { sentAt.append(clock.elapsed()); });
    clock.start();
    const QByteArray sent = sentBy([&] { panel.press(QStringLiteral("Write")); });
    disconnect(stamp);

    // Output after "D", input after "E"; input 1 first.
    QCOMPARE(sent, QByteArray("1D2E1.1D2E3."));
    QCOMPARE(sentAt.size(), 3);
    QVERIFY2(sentAt.at(1) - sentAt.at(0) >= protocoladapter::EdidPauseMs,
             qPrintable(QString::number(sentAt.at(1) - sentAt.at(0))));
    QVERIFY(sentAt.at(2) - sentAt.at(1) >= protocoladapter::EdidPauseMs);
}

void TestSwitcher::writeConditions_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("clicks");
    QTest::addColumn<QByteArray>("sends");
    QTest::newRow("video type, one input, one output") << 1 << "i4 o7" << QByteArray("1D7E4.");
    QTest::newRow("no input") << 3 << "o2" << QByteArray();
    QTest::newRow("no output") << 3 << "i1 i2" << QByteArray();
    QTest::newRow("two outputs") << 1 << "i1 o1 o2" << QByteArray();
}

void TestSwitcher::writeConditions()
{
    QFETCH(int, type);
    QFETCH(QString, clicks);
    QFETCH(QByteArray, sends);

    linkParameters().audio = type;
    Panel panel;
    panel.select(clicks);
    QCOMPARE(sentBy([&] { panel.press(QStringLiteral("Write")); }), sends);
}

void TestSwitcher::rename_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("result");
    QTest::newRow("ok") << "Ok" << QStringLiteral("讲台 Camera") << QStringLiteral("讲台 Camera");
    QTest::newRow("ok, New emptied") << "Ok" << QString() << QStringLiteral("Matrix In 0");
    QTest::newRow("cancel") << "Cancel" << QStringLiteral("Ignored") << QStringLiteral("输入通道 1");
}

void TestSwitcher::rename()
{
    QFETCH(QString, how);
    QFETCH(QString, typed);
    QFETCH(QString, result);

    {
        Panel panel;
        QAction *menuEntry = panel.inputs.at(0)->actions().value(0);
        QVERIFY(menuEntry);
        QCOMPARE(menuEntry->text(), QStringLiteral("Rename"));

        QString title;
        QString shownDefault;
        QString shownName;
        answerNextModal([&](QDialog *dialog) {
            const QList<QLineEdit *> fields = dialog->findChildren<QLineEdit *>();
            title = dialog->windowTitle();
            shownDefault = fields.at(0)->text();
            shownName = fields.at(1)->text();
            fields.at(1)->setText(typed);
            for (QPushButton *button : dialog->findChildren<QPushButton *>()) {
                if (button->text() == how)
                    QTest::mouseClick(button, Qt::LeftButton);
            }
        });
        menuEntry->trigger();

        QCOMPARE(title, QStringLiteral("Matrix In Alias"));
        QCOMPARE(shownDefault, QStringLiteral("Matrix In 0"));
        QCOMPARE(shownName, QStringLiteral("输入通道 1"));
        QCOMPARE(panel.inputs.at(0)->text(), result);
        QCOMPARE(panel.inputs.at(1)->text(), QStringLiteral("输入通道 2"));
        // The tile keeps its check state through a rename.
        QVERIFY(!panel.inputs.at(0)->isChecked());
    }
    QSettings file(m_env->filePath("AliasConfig.ini"), QSettings::IniFormat);
    file.setIniCodec("UTF-8");
    QCOMPARE(file.value("InputAlias/1").toString(), result);
}

void TestSwitcher::renameOutputReusesTheDialog()
{
    Panel panel;
    QList<QDialog *> dialogs;
    QString title;
    QString shownDefault;
    auto answerOk = [&](const QString &typed) {
        answerNextModal([&, typed](QDialog *dialog) {
            dialogs.append(dialog);
            title = dialog->windowTitle();
            shownDefault = dialog->findChildren<QLineEdit *>().at(0)->text();
            dialog->findChildren<QLineEdit *>().at(1)->setText(typed);
            dialog->accept();
        });
    };
    answerOk(QStringLiteral("Desk"));
    emit panel.inputs.at(4)->trigger();
    answerOk(QStringLiteral("Screen"));
    emit panel.outputs.at(2)->trigger();

    QCOMPARE(dialogs.size(), 2);
    QCOMPARE(dialogs.at(0), dialogs.at(1));
    QCOMPARE(title, QStringLiteral("Matrix Out Alias"));
    QCOMPARE(shownDefault, QStringLiteral("Matrix Out 2"));
    QCOMPARE(panel.inputs.at(4)->text(), QStringLiteral("Desk"));
    QCOMPARE(panel.outputs.at(2)->text(), QStringLiteral("Screen"));
    QCOMPARE(panel.inputs.at(2)->text(), QStringLiteral("输入通道 3"));
}

void TestSwitcher::channelNamesFromTheStore()
{
    QByteArray file("[InputAlias]\n");
    for (int n = 1; n <= 64; ++n)
        file += QByteArray::number(n) + "=Source " + QByteArray::number(n) + '\n';
    file += "[OutputAlias]\n1=Left\n2=Right\n3=Booth\n4=Foyer\n6=Stage\n";
    m_env->writeFile("AliasConfig.ini", file);

    {
        Panel panel;
        QCOMPARE(panel.inputs.size(), 16);
        QCOMPARE(panel.inputs.at(15)->text(), QStringLiteral("Source 16"));
        QCOMPARE(panel.outputs.at(2)->text(), QStringLiteral("Booth"));
        QCOMPARE(panel.outputs.at(4)->text(), QString());
        QCOMPARE(panel.outputs.at(5)->text(), QStringLiteral("Stage"));
    }
    QSettings stored(m_env->filePath("AliasConfig.ini"), QSettings::IniFormat);
    QCOMPARE(stored.value("InputAlias/40").toString(), QStringLiteral("Source 40"));
    QCOMPARE(stored.value("InputAlias/64").toString(), QStringLiteral("Source 64"));
    QCOMPARE(stored.value("OutputAlias/6").toString(), QStringLiteral("Stage"));
}

void TestSwitcher::gridShape_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("columns");
    QTest::newRow("16") << 16 << 16 << 2;
    QTest::newRow("64") << 64 << 64 << 8;
    QTest::newRow("absent reads 16") << 0 << 16 << 2;
    QTest::newRow("5, one short column") << 5 << 5 << 1;
    QTest::newRow("9, one in the second column") << 9 << 9 << 2;
    QTest::newRow("above the limit") << 100 << 64 << 8;
    QTest::newRow("negative, no buttons") << -3 << 0 << 0;
}

void TestSwitcher::gridShape()
{
    QFETCH(int, stored);
    QFETCH(int, buttons);
    QFETCH(int, columns);

    writeAppConfig(stored, stored);
    Panel panel;
    QCOMPARE(panel.inputs.size(), buttons);
    QCOMPARE(panel.outputs.size(), buttons);
    for (QGroupBox *group : {panel.group(QStringLiteral("Matrix In")), panel.group(QStringLiteral("Matrix Out"))}) {
        QGridLayout *grid = group->findChild<QGridLayout *>();
        QVERIFY(grid);
        QCOMPARE(grid->count(), buttons);
        if (buttons == 0)
            continue;
        QCOMPARE(grid->columnCount(), columns);
        QCOMPARE(grid->rowCount(), qMin(buttons, 8));
        // Columns of eight, top to bottom, then left to right.
        const QList<CheckBoxWithMenu *> &list = group == panel.group(QStringLiteral("Matrix In"))
                                                    ? panel.inputs : panel.outputs;
        for (int i = 0; i < buttons; ++i)
            QCOMPARE(grid->itemAtPosition(i % 8, i / 8)->widget(), list.at(i));
    }
    if (buttons == 64) {
        QCOMPARE(panel.inputs.at(63)->text(), QStringLiteral("输入通道 64"));
        QCOMPARE(sentBy([&] { panel.select(QStringLiteral("i64 o64 o33")); panel.press(QStringLiteral("Switch")); }),
                 QByteArray("1D64V33,64."));
    }
}

void TestSwitcher::settingAndBack()
{
    Panel panel;
    QGroupBox *inputs = panel.group(QStringLiteral("Matrix In"));
    QGroupBox *outputs = panel.group(QStringLiteral("Matrix Out"));
    QPushButton *switchButton = panel.button<QPushButton>(QStringLiteral("Switch"));
    QVERIFY(QTest::qWaitForWindowExposed(panel.frame.get()));
    const int startOfActions = switchButton->geometry().top();
    const QSize startSize = panel.frame->size();
    QVERIFY(startOfActions > inputs->geometry().bottom());
    QVERIFY(!panel.frame->findChild<AdvancedSetting *>());

    for (int round = 0; round < 2; ++round) {
        panel.press(QStringLiteral("Setting"));
        auto *page = panel.frame->findChild<AdvancedSetting *>();
        QVERIFY(page);
        QCOMPARE(panel.frame->findChildren<AdvancedSetting *>().size(), 1);
        QVERIFY(page->isVisible());
        QVERIFY(inputs->isHidden());
        QVERIFY(outputs->isHidden());

        emit page->goBack();
        QVERIFY(inputs->isVisible());
        QVERIFY(outputs->isVisible());
        QVERIFY(page->isHidden());
        // A top-level frame grows to fit the page; back at its old size the row must sit where it did.
        panel.frame->layout()->activate();
        panel.frame->resize(startSize);
        QTRY_COMPARE(switchButton->geometry().top(), startOfActions);
        QVERIFY(switchButton->geometry().top() > inputs->geometry().bottom());
        // The action row is laid out again: it follows the panel's foot.
        panel.frame->resize(760, 520);
        QTRY_VERIFY(switchButton->geometry().top() >= startOfActions + 100);
        panel.frame->resize(760, 420);
        QTRY_COMPARE(switchButton->geometry().top(), startOfActions);
        QCOMPARE(panel.frame->layout()->itemAt(0)->layout()->itemAt(0)->widget(), inputs);
        QCOMPARE(panel.frame->layout()->itemAt(0)->layout()->itemAt(1)->widget(), outputs);
    }
    // The panel still routes after the round trips.
    QCOMPARE(sentBy([&] { panel.select(QStringLiteral("i2 o3")); panel.press(QStringLiteral("Switch")); }),
             QByteArray("1D2V3."));
    // Leaving while the poll page is up must not leak or crash.
    panel.press(QStringLiteral("Setting"));
}

void TestSwitcher::storedTypeAtDestruction_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("picked");
    QTest::addColumn<QString>("checkedAtStart");
    QTest::addColumn<QVariant>("written");
    QTest::newRow("EDID kept") << 3 << QString() << QStringLiteral("EDID") << QVariant(3);
    QTest::newRow("All kept") << 0 << QString() << QStringLiteral("All") << QVariant(0);
    QTest::newRow("outside 0-3, nothing picked") << 7 << QString() << QString() << QVariant();
    QTest::newRow("outside 0-3, Video picked") << 7 << QStringLiteral("Video") << QString() << QVariant(1);
}

void TestSwitcher::storedTypeAtDestruction()
{
    QFETCH(int, stored);
    QFETCH(QString, picked);
    QFETCH(QString, checkedAtStart);
    QFETCH(QVariant, written);

    linkParameters().audio = stored;
    {
        Panel panel;
        QStringList checked;
        for (QRadioButton *radio : panel.frame->findChildren<QRadioButton *>()) {
            if (radio->isChecked())
                checked << radio->text();
        }
        QCOMPARE(checked, checkedAtStart.isEmpty() ? QStringList() : QStringList{checkedAtStart});
        if (!picked.isEmpty())
            panel.pick(picked);
        // Picking writes at once; the destructor writes what is checked then.
        QFile::remove(m_env->filePath("UserData.ini"));
    }
    QCOMPARE(QSettings(m_env->filePath("UserData.ini"), QSettings::IniFormat).value("audio"), written);
}

void TestSwitcher::languageChange()
{
    Panel panel;
    QTranslator chinese;
    QVERIFY(chinese.load(m_env->filePath("Lang/zh_cn.qm")));
    QApplication::installTranslator(&chinese);
    QTRY_VERIFY(panel.group(QStringLiteral("矩阵输入")));
    QVERIFY(panel.group(QStringLiteral("矩阵输出")));
    for (const char *text : {"切换", "全部切换", "一一对应", "写入", "设置"})
        QVERIFY2(panel.button<QPushButton>(QString::fromUtf8(text)), text);
    for (const char *text : {"全部", "视频", "音频", "EDID"})
        QVERIFY2(panel.button<QRadioButton>(QString::fromUtf8(text)), text);
    QCOMPARE(panel.inputs.at(0)->text(), QStringLiteral("输入通道 1"));
    QCOMPARE(panel.outputs.at(15)->actions().first()->text(), QStringLiteral("重命名"));

    QApplication::removeTranslator(&chinese);
    QTRY_VERIFY(panel.button<QPushButton>(QStringLiteral("Switch")));
    QCOMPARE(panel.inputs.at(3)->actions().first()->text(), QStringLiteral("Rename"));
}

QTEST_MAIN(TestSwitcher)
#include "tst_switcher.moc"
