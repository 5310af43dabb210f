#include "config/linkparameters.h"
#include "link/protocoladapter.h"
#include "panels/cswitcherframe.h"
#include "support/modalhelper.h"
#include "support/tcppeer.h"
#include "support/testenv.h"

#include <QtTest>
#include <QtWidgets>

template<typename T> static T *withText(QWidget *root, const QString &text)
{
    const QList<T *> all = root->findChildren<T *>();
    const auto found = std::find_if(all.begin(), all.end(), [&](T *widget) { return widget->text() == text; });
    return found == all.end() ? nullptr : *found;
}

// The panel with its default 16 inputs and outputs, worked by names: "i3" input 3, "o5" output 5, "Audio" a button.
struct Panel
{
    std::unique_ptr<CSwitcherFrame> frame = std::make_unique<CSwitcherFrame>();
    const QList<QCheckBox *> tiles = frame->findChildren<QCheckBox *>(); // inputs first

    QCheckBox *tile(const QString &name) const { return tiles.value((name[0] == 'o') * 16 + QStringView(name).mid(1).toInt() - 1); }
    void click(const QString &names) const
    {
        for (const QString &name : names.split(' ', Qt::SkipEmptyParts))
            name[0].isLower() ? tile(name)->click() : withText<QAbstractButton>(frame.get(), name)->click();
    }
    QString checked() const
    {
        QString names;
        for (int k = 0; k < tiles.size(); ++k)
            names += tiles.at(k)->isChecked() ? QStringLiteral(" %1%2").arg(k < 16 ? 'i' : 'o').arg(k % 16 + 1) : QString();
        return names.trimmed();
    }
};

class TestSwitcher : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnv> m_env;
    TcpPeer m_peer;

private slots:
    void initTestCase()
    {
        m_env = std::make_unique<TestEnv>();
        QVERIFY(protocoladapter::instance().connectTcp(QStringLiteral("127.0.0.1"), m_peer.portText()));
    }

    void actions_data()
    {
        QTest::addColumn<int>("type"); // at start: 0 All, 1 Video, 2 Audio, 3 EDID
        QTest::addColumn<QString>("clicks");
        QTest::addColumn<QString>("checked");
        QTest::addColumn<QByteArray>("sent"); // by Switch, Switch All and Write, before One By One's
        QTest::addColumn<QString>("stored"); // the type in UserData.ini while the panel is up | once it is gone
        QTest::newRow("video: outputs ascending") << 1 << "i3 i4 o10 o5 o1 o9 o1" << "i4 o5 o9 o10" << QByteArray("1D4V5,9,10.1D04TOALL.") << "|1";
        QTest::newRow("all: input clicked again") << 0 << "i3 i4 i4 o1" << "o1" << QByteArray() << "|0";
        QTest::newRow("audio: no output") << 2 << "i5 i10" << "i10" << QByteArray("1D10TOALL.") << "|2";
        QTest::newRow("edid: input 1 first") << 3 << "i3 i1 o1 o2" << "i1 i3 o2" << QByteArray("1D2E1.1D2E3.") << "|3";
        QTest::newRow("type outside 0-3: all add up") << 7 << "i1 i2 o4 o2" << "i1 i2 o2 o4" << QByteArray() << "|";
        QTest::newRow("a type clears outputs") << 1 << "i3 o5 o6 Audio i2" << "i2" << QByteArray("1D02TOALL.") << "2|2";
        QTest::newRow("the same type clears inputs") << 2 << "i3 o5 Audio" << "" << QByteArray() << "2|2";
        QTest::newRow("EDID picked: its rules") << 7 << "EDID i1 i2 o2 o1 o1" << "i1 i2" << QByteArray() << "3|3";
    }

    void actions()
    {
        QFETCH(int, type);
        QFETCH(QString, clicks);
        QFETCH(QString, checked);
        QFETCH(QByteArray, sent);
        QFETCH(QString, stored);
        const auto storedType = [] { return QSettings("UserData.ini", QSettings::IniFormat).value("audio").toString(); };
        QFile::remove(QStringLiteral("UserData.ini"));
        linkParameters().audio = type;
        Panel panel;
        panel.click(clicks);
        m_peer.clearReceived();
        // One By One always sends: anything the others sent has come before it.
        for (const char *action : {"Switch", "Switch All", "Write", "One By One"})
            withText<QPushButton>(panel.frame.get(), action)->click();
        QTRY_COMPARE(m_peer.received(), sent + "1TOONE.");
        QCOMPARE(panel.checked(), checked);
        const QString storedWhileUp = storedType();
        panel.frame.reset();
        QCOMPARE(storedWhileUp + '|' + storedType(), stored);
    }

    void renameChannels()
    {
        m_env->writeFile("AliasConfig.ini", "[InputAlias]\n1=Lectern\n2=Camera\n[OutputAlias]\n3=Booth\n4=Stage\n");
        // Typed into New (nullptr: left as the dialog shows it), then Ok or Cancel.
        struct Step { const char *tile, *typed, *answer, *name, *key; };
        const Step steps[] = {
            {"i2", "Ignored", "Cancel", "Camera", "InputAlias/2"},
            {"o4", "Ignored", "Cancel", "Stage", "OutputAlias/4"},
            {"i1", "Desk", "Ok", "Desk", "InputAlias/1"},
            {"o3", "", "Ok", "Matrix Out 3", "OutputAlias/3"},
            {"o4", nullptr, "Ok", "Stage", "OutputAlias/4"},
        };
        Panel panel;
        for (const Step &step : steps) {
            answerNextModal([&](QDialog *dialog) {
                if (step.typed)
                    dialog->findChildren<QLineEdit *>().at(1)->setText(QString::fromUtf8(step.typed));
                withText<QPushButton>(dialog, step.answer)->click();
            });
            panel.tile(step.tile)->actions().value(0)->trigger();
            QCOMPARE(panel.tile(step.tile)->toolTip(), step.name);
        }
        panel.frame.reset();
        const QSettings file(QStringLiteral("AliasConfig.ini"), QSettings::IniFormat);
        for (const Step &step : steps)
            QCOMPARE(file.value(step.key).toString(), step.name);
    }

    void settingAndBack()
    {
        Panel panel;
        QWidget *frame = panel.frame.get();
        QLayout *actionRow = frame->layout()->itemAt(1)->layout(); // below the channel groups
        // What shows (inputs, outputs, poll page) and where the action row sits in the panel.
        const auto view = [&] {
            return QStringLiteral("%1%2%3 %4").arg(panel.tile("i1")->isVisibleTo(frame)).arg(panel.tile("o1")->isVisibleTo(frame))
                .arg(withText<QPushButton>(frame, "Back")->isVisibleTo(frame)).arg(frame->layout()->indexOf(actionRow));
        };
        panel.click(QStringLiteral("Setting"));
        QCOMPARE(view(), "001 -1");
        panel.click(QStringLiteral("Back"));
        QCOMPARE(view(), "110 2");
        panel.click(QStringLiteral("Setting")); // the page shown again; the panel goes with it up
        QCOMPARE(view(), "001 -1");
    }
};

QTEST_MAIN(TestSwitcher)
#include "tst_switcher.moc"
