// The switcher and scene panels as the operator works them: bytes at the device, names in the files.
#include "config/linkparameters.h"
#include "link/protocoladapter.h"
#include "panels/csceneframe.h"
#include "panels/cswitcherframe.h"
#include "support/modalhelper.h"
#include "support/tcppeer.h"
#include "support/testenv.h"

#include <QtTest>
#include <QtWidgets>

// The push button with this text, or scene button n (from 1) of the group with this title.
static QPushButton *button(QWidget *root, const QString &text, int n = 0)
{
    for (QGroupBox *group : root->findChildren<QGroupBox *>()) {
        if (group->title() == text)
            return group->findChildren<QPushButton *>().value(n - 1);
    }
    return withText(root, text);
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

class TestPanels : public QObject
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
        QTest::newRow("poll page and back twice") << 1 << "Setting Back Setting Back i2 o3 o4" << "i2 o3 o4"
                                                  << QByteArray("1D2V3,4.1D02TOALL.") << "|1";
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

    void commandsReachTheDevice()
    {
        m_peer.clearReceived();
        CSceneFrame frame;
        // Buzz OFF last: VGA Auto, which has no command, sent nothing before it.
        for (QPushButton *pressed : {button(&frame, "Scene Save", 1), button(&frame, "Scene Load", 16),
                                     button(&frame, "Buzz On"), button(&frame, "VGA Auto"), button(&frame, "Buzz OFF")})
            pressed->click();
        QTRY_COMPARE(m_peer.received(), QByteArray("1SAVE11CALL161BUZON1BUZOFF"));
    }

    // The dialog opens in New with its text selected, so typing replaces it; an empty New takes the default. A scene
    // shows the beginning of its name, as much as fits; each tile has the whole name in its tool tip, and in its file.
    void renameAndStore()
    {
        m_env->writeFile("AliasConfig.ini", "[InputAlias]\n1=Lectern\n2=Camera\n[OutputAlias]\n3=Booth\n4=Stage\n");
        m_env->writeFile("SceneConfig.ini", "[SceneConfig]\n3=Desk\n5=Stage and wings\n10=Foyer\n");
        // A channel tile, or a scene from the Save or Load group; typed into New ("": deleted, nullptr: left as the
        // dialog shows it), then Ok or Cancel.
        struct Step { const char *tile; int scene; const char *typed, *answer, *name, *key; };
        const Step steps[] = {
            {"i2", 0, "Ignored", "Cancel", "Camera", "InputAlias/2"},
            {"o4", 0, "Ignored", "Cancel", "Stage", "OutputAlias/4"},
            {"i1", 0, "Desk", "Ok", "Desk", "InputAlias/1"},
            {"o3", 0, "", "Ok", "Matrix Out 3", "OutputAlias/3"},
            {"o4", 0, nullptr, "Ok", "Stage", "OutputAlias/4"},
            {"Scene Load", 10, "Boardroom Projector", "Ok", "Boardroom Projector", "SceneConfig/10"},
            {"Scene Save", 3, "", "Ok", "Scene 3", "SceneConfig/3"},
            {"Scene Save", 5, "Lost", "Cancel", "Stage and wings", "SceneConfig/5"},
            {"Scene Load", 5, nullptr, "Ok", "Stage and wings", "SceneConfig/5"},
        };
        Panel panel;
        auto scenes = std::make_unique<CSceneFrame>();
        scenes->show();
        for (const Step &step : steps) {
            answerNextModal([&](QDialog *dialog) {
                if (step.typed)
                    *step.typed ? QTest::keyClicks(dialog->focusWidget(), step.typed) : QTest::keyClick(dialog->focusWidget(), Qt::Key_Delete);
                button(dialog, step.answer)->click();
            });
            QWidget *tile = step.scene ? static_cast<QWidget *>(button(scenes.get(), step.tile, step.scene)) : panel.tile(step.tile);
            tile->actions().value(0)->trigger();
            QCOMPARE(tile->toolTip(), step.name);
            if (!step.scene)
                continue; // a scene shows under Save and under Load alike
            for (QPushButton *shown : {button(scenes.get(), "Scene Save", step.scene), button(scenes.get(), "Scene Load", step.scene)}) {
                const QString text = shown->text();
                QCOMPARE(shown->toolTip(), step.name);
                QVERIFY(text.size() > 1 && QString(step.name).startsWith(text.chopped(text.endsWith(QChar(0x2026))))
                        && shown->fontMetrics().horizontalAdvance(text) < shown->width());
            }
        }
        panel.frame.reset();
        scenes.reset();
        for (const Step &step : steps)
            QCOMPARE(QSettings(step.scene ? "SceneConfig.ini" : "AliasConfig.ini", QSettings::IniFormat).value(step.key).toString(), step.name);
    }
};

QTEST_MAIN(TestPanels)
#include "tst_panels.moc"
