#include "link/protocoladapter.h"
#include "panels/csceneframe.h"
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
    const QList<QPushButton *> all = root->findChildren<QPushButton *>();
    const auto found = std::find_if(all.begin(), all.end(), [&](QPushButton *button) { return button->text() == text; });
    return found == all.end() ? nullptr : *found;
}

class TestSceneFrame : public QObject
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

    void commandsReachTheDevice()
    {
        CSceneFrame frame;
        // Buzz OFF last: VGA Auto, which has no command, sent nothing before it.
        for (QPushButton *pressed : {button(&frame, "Scene Save", 1), button(&frame, "Scene Load", 16),
                                     button(&frame, "Buzz On"), button(&frame, "VGA Auto"), button(&frame, "Buzz OFF")})
            pressed->click();
        QTRY_COMPARE(m_peer.received(), QByteArray("1SAVE11CALL161BUZON1BUZOFF"));
    }

    // The dialog opens in New with its text selected, so typing replaces it; an empty New takes the default.
    // A tile shows the beginning of its name, as much as fits, and the whole name in its tool tip.
    void renameAndStore()
    {
        m_env->writeFile("SceneConfig.ini", "[SceneConfig]\n3=Desk\n5=Stage and wings\n10=Foyer\n");
        // Typed into New ("": deleted, nullptr: left as the dialog shows it), then Ok or Cancel.
        struct Step { const char *from; int scene; const char *typed, *answer, *name; };
        const Step steps[] = {
            {"Scene Load", 10, "Boardroom Projector", "Ok", "Boardroom Projector"},
            {"Scene Save", 3, "", "Ok", "Scene 3"},
            {"Scene Save", 5, "Lost", "Cancel", "Stage and wings"},
            {"Scene Load", 5, nullptr, "Ok", "Stage and wings"},
        };
        auto frame = std::make_unique<CSceneFrame>();
        frame->show();
        for (const Step &step : steps) {
            answerNextModal([&](QDialog *dialog) {
                if (step.typed)
                    *step.typed ? QTest::keyClicks(dialog->focusWidget(), step.typed) : QTest::keyClick(dialog->focusWidget(), Qt::Key_Delete);
                button(dialog, step.answer)->click();
            });
            button(frame.get(), step.from, step.scene)->actions().value(0)->trigger();
            for (QPushButton *shown : {button(frame.get(), "Scene Save", step.scene), button(frame.get(), "Scene Load", step.scene)}) {
                const QString text = shown->text();
                QCOMPARE(shown->toolTip(), step.name);
                QVERIFY(text.size() > 1 && QString(step.name).startsWith(text.chopped(text.endsWith(QChar(0x2026))))
                        && shown->fontMetrics().horizontalAdvance(text) < shown->width());
            }
        }
        frame.reset();
        const QSettings file(m_env->filePath("SceneConfig.ini"), QSettings::IniFormat);
        for (const Step &step : steps)
            QCOMPARE(file.value(QStringLiteral("SceneConfig/%1").arg(step.scene)).toString(), step.name);
    }
};

QTEST_MAIN(TestSceneFrame)
#include "tst_sceneframe.moc"
