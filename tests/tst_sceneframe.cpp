#include "config/scenestore.h"
#include "link/protocoladapter.h"
#include "panels/csceneframe.h"
#include "support/modalhelper.h"
#include "support/tcppeer.h"
#include "support/testenv.h"
#include "widgets/buttonwithmenu.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTranslator>
#include <QtTest>

#include <memory>

namespace {

const QString SaveTitle = QStringLiteral("Scene Save");
const QString LoadTitle = QStringLiteral("Scene Load");

QGroupBox *group(QWidget *frame, const QString &title)
{
    const auto groups = frame->findChildren<QGroupBox *>();
    for (QGroupBox *box : groups) {
        if (box->title() == title)
            return box;
    }
    return nullptr;
}

// The button at its place in the four-by-four grid of the group.
ButtonWithMenu *sceneButton(QWidget *frame, const QString &title, int index)
{
    QGroupBox *box = group(frame, title);
    auto *grid = box ? qobject_cast<QGridLayout *>(box->layout()) : nullptr;
    QLayoutItem *item = grid ? grid->itemAtPosition(index / 4, index % 4) : nullptr;
    return item ? qobject_cast<ButtonWithMenu *>(item->widget()) : nullptr;
}

QPushButton *pushButton(QWidget *frame, const QString &text)
{
    const auto buttons = frame->findChildren<QPushButton *>();
    for (QPushButton *button : buttons) {
        if (button->text() == text)
            return button;
    }
    return nullptr;
}

// Types name into the New field of the alias dialog and presses Ok or Cancel.
void answerRename(const QString &name, bool accept)
{
    answerNextModal([name, accept](QDialog *dialog) {
        const auto edits = dialog->findChildren<QLineEdit *>();
        for (QLineEdit *edit : edits) {
            if (edit->isEnabled())
                edit->setText(name);
        }
        QTest::mouseClick(pushButton(dialog, accept ? QStringLiteral("Ok") : QStringLiteral("Cancel")),
                          Qt::LeftButton);
    });
}

void rename(ButtonWithMenu *button, const QString &name, bool accept = true)
{
    answerRename(name, accept);
    button->actions().constFirst()->trigger();
}

QString storedName(int index)
{
    SceneStore store;
    return store.sceneName(index);
}

} // namespace

class TestSceneFrame : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void commandsReachTheDevice_data();
    void commandsReachTheDevice();
    void newFileShowsDefaultNames();
    void renameChangesBothButtons_data();
    void renameChangesBothButtons();
    void renameWithEmptyFieldUsesDefault();
    void cancelKeepsName();
    void longNamesAreElided();
    void retranslates();

private:
    std::unique_ptr<TestEnv> m_env;
    std::unique_ptr<TcpPeer> m_peer;
};

void TestSceneFrame::initTestCase()
{
    m_env = std::make_unique<TestEnv>(true);
    m_peer = std::make_unique<TcpPeer>();
    QVERIFY(protocoladapter::instance().connectTcp(QStringLiteral("127.0.0.1"), m_peer->portText()));
}

void TestSceneFrame::init()
{
    QFile::remove(m_env->filePath(QStringLiteral("SceneConfig.ini")));
    m_peer->clearReceived();
}

void TestSceneFrame::commandsReachTheDevice_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("save 1") << SaveTitle << 0 << QString() << QByteArray("1SAVE1");
    QTest::newRow("save 7") << SaveTitle << 6 << QString() << QByteArray("1SAVE7");
    QTest::newRow("load 16") << LoadTitle << 15 << QString() << QByteArray("1CALL16");
    QTest::newRow("load 5") << LoadTitle << 4 << QString() << QByteArray("1CALL5");
    QTest::newRow("buzz on") << QString() << 0 << QStringLiteral("Buzz On") << QByteArray("1BUZON");
    QTest::newRow("buzz off") << QString() << 0 << QStringLiteral("Buzz OFF") << QByteArray("1BUZOFF");
    QTest::newRow("vga auto") << QString() << 0 << QStringLiteral("VGA Auto") << QByteArray();
}

void TestSceneFrame::commandsReachTheDevice()
{
    QFETCH(QString, group);
    QFETCH(int, index);
    QFETCH(QString, button);
    QFETCH(QByteArray, bytes);

    CSceneFrame frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QPushButton *target = group.isEmpty() ? pushButton(&frame, button) : sceneButton(&frame, group, index);
    QVERIFY(target);
    QTest::mouseClick(target, Qt::LeftButton);
    // A known command after it shows that the click itself sent exactly its bytes, or none.
    QTest::mouseClick(pushButton(&frame, QStringLiteral("Buzz OFF")), Qt::LeftButton);
    const QByteArray expected = bytes + "1BUZOFF";
    QVERIFY(m_peer->waitForBytes(expected.size()));
    QCOMPARE(m_peer->received(), expected);
}

void TestSceneFrame::newFileShowsDefaultNames()
{
    CSceneFrame frame;
    QVERIFY(!sceneFileMissing());
    for (int i = 0; i < SceneStore::SceneCount; ++i) {
        for (const QString &title : {SaveTitle, LoadTitle}) {
            ButtonWithMenu *button = sceneButton(&frame, title, i);
            QVERIFY(button);
            QCOMPARE(button->text(), QString::number(i + 1));
            QCOMPARE(button->toolTip(), QString::number(i + 1));
            QCOMPARE(button->actions().size(), 1);
            QCOMPARE(button->actions().constFirst()->text(), QStringLiteral("Rename"));
        }
    }
}

void TestSceneFrame::renameChangesBothButtons_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("other");
    QTest::newRow("from load button") << LoadTitle << SaveTitle;
    QTest::newRow("from save button") << SaveTitle << LoadTitle;
}

void TestSceneFrame::renameChangesBothButtons()
{
    QFETCH(QString, from);
    QFETCH(QString, other);
    {
        CSceneFrame frame;
        rename(sceneButton(&frame, from, 9), QStringLiteral("Stage"));
        QCOMPARE(sceneButton(&frame, from, 9)->text(), QStringLiteral("Stage"));
        QCOMPARE(sceneButton(&frame, other, 9)->text(), QStringLiteral("Stage"));
        QCOMPARE(sceneButton(&frame, other, 9)->toolTip(), QStringLiteral("Stage"));
        QCOMPARE(sceneButton(&frame, other, 8)->text(), QStringLiteral("9"));
        // Renaming is not a command.
        QCOMPARE(m_peer->received(), QByteArray());
        // The dialog is kept: a second rename reuses it.
        rename(sceneButton(&frame, other, 2), QStringLiteral("회의실"));
        QCOMPARE(sceneButton(&frame, from, 2)->text(), QStringLiteral("회의실"));
    }
    QCOMPARE(storedName(9), QStringLiteral("Stage"));
    QCOMPARE(storedName(2), QStringLiteral("회의실"));
    CSceneFrame restarted;
    QCOMPARE(sceneButton(&restarted, from, 9)->text(), QStringLiteral("Stage"));
}

void TestSceneFrame::renameWithEmptyFieldUsesDefault()
{
    CSceneFrame frame;
    rename(sceneButton(&frame, SaveTitle, 3), QString());
    QCOMPARE(sceneButton(&frame, LoadTitle, 3)->toolTip(), QStringLiteral("Scene 3"));
}

void TestSceneFrame::cancelKeepsName()
{
    {
        CSceneFrame frame;
        rename(sceneButton(&frame, LoadTitle, 0), QStringLiteral("Lost"), false);
        QCOMPARE(sceneButton(&frame, SaveTitle, 0)->text(), QStringLiteral("1"));
        QCOMPARE(sceneButton(&frame, LoadTitle, 0)->text(), QStringLiteral("1"));
    }
    QCOMPARE(storedName(0), QStringLiteral("1"));
}

void TestSceneFrame::longNamesAreElided()
{
    const QString fromFile = QStringLiteral("Conference room north wing");
    const QString renamed = QStringLiteral("Main auditorium stage left");
    m_env->writeFile("SceneConfig.ini", "[SceneConfig]\n5=" + fromFile.toUtf8() + "\n");

    CSceneFrame frame;
    const QFontMetrics metrics(QFont(QStringLiteral("Microsoft Yahei")));
    ButtonWithMenu *save = sceneButton(&frame, SaveTitle, 4);
    QVERIFY(save->text().endsWith(QChar(0x2026)));
    QVERIFY(metrics.horizontalAdvance(save->text()) <= CSceneFrame::NameElideWidth);
    QVERIFY(fromFile.startsWith(save->text().chopped(1)));
    QCOMPARE(save->toolTip(), fromFile);

    rename(sceneButton(&frame, LoadTitle, 4), renamed);
    for (const QString &title : {SaveTitle, LoadTitle}) {
        ButtonWithMenu *button = sceneButton(&frame, title, 4);
        QVERIFY(button->text().endsWith(QChar(0x2026)));
        QVERIFY(metrics.horizontalAdvance(button->text()) <= CSceneFrame::NameElideWidth);
        QVERIFY(renamed.startsWith(button->text().chopped(1)));
        QCOMPARE(button->toolTip(), renamed);
    }
    QCOMPARE(CSceneFrame::elideSceneName(QStringLiteral("Hall")), QStringLiteral("Hall"));
}

void TestSceneFrame::retranslates()
{
    CSceneFrame frame;
    rename(sceneButton(&frame, SaveTitle, 1), QStringLiteral("Lobby"));

    QTranslator simplified;
    QVERIFY(simplified.load(m_env->filePath(QStringLiteral("Lang/zh_cn.qm"))));
    QApplication::installTranslator(&simplified);
    // The language change reaches the widgets through the event loop.
    QTRY_VERIFY(pushButton(&frame, QStringLiteral("蜂鸣器开")));
    QVERIFY(pushButton(&frame, QStringLiteral("蜂鸣器关")));
    QVERIFY(group(&frame, QStringLiteral("场景保存")));
    QVERIFY(group(&frame, QStringLiteral("场景调用")));
    QCOMPARE(sceneButton(&frame, QStringLiteral("场景调用"), 1)->text(), QStringLiteral("Lobby"));
    QCOMPARE(sceneButton(&frame, QStringLiteral("场景保存"), 15)->actions().constFirst()->text(),
             QStringLiteral("重命名"));

    QTranslator traditional;
    QVERIFY(traditional.load(m_env->filePath(QStringLiteral("Lang/zh_tw.qm"))));
    QApplication::installTranslator(&traditional);
    QTRY_VERIFY(group(&frame, QStringLiteral("場景儲存")));
    QVERIFY(pushButton(&frame, QStringLiteral("蜂鳴器開")));

    QApplication::removeTranslator(&traditional);
    QApplication::removeTranslator(&simplified);
    QTRY_VERIFY(group(&frame, SaveTitle));
    QVERIFY(pushButton(&frame, QStringLiteral("VGA Auto")));
    QCOMPARE(sceneButton(&frame, LoadTitle, 0)->actions().constFirst()->text(), QStringLiteral("Rename"));
}

QTEST_MAIN(TestSceneFrame)
#include "tst_sceneframe.moc"
