#include "config/scenestore.h"
#include "support/testenv.h"

#include <QProcess>
#include <QSettings>
#include <QTextCodec>
#include <QtTest>

#include <memory>

namespace {

// QSettings keeps what it wrote in a per-process cache, so a restart is a new process.
const char *const ChildVariable = "MC_SCENE_CHILD_NAME";

QByteArray gb2312(const QString &text)
{
    return QTextCodec::codecForName("GB2312")->fromUnicode(text);
}

// What another program (or an older version) reading the file would see.
QVariant fileValue(const QString &key)
{
    QSettings file(QStringLiteral("SceneConfig.ini"), QSettings::IniFormat);
    file.setIniCodec("GB18030");
    return file.value(key);
}

QByteArray sceneFile(const QByteArray &names, const QByteArray &saved = QByteArray())
{
    return "[SceneConfig]\n" + names + "\n[SceneSaved]\n" + saved + "\n";
}

} // namespace

class TestSceneStore : public QObject
{
    Q_OBJECT

private slots:
    void newFileGetsDefaults();
    void missingKeyReadsEmptyAndIsWrittenBack();
    void renamesReachDiskOnlyAtDestruction();
    void namesSurviveRestart_data();
    void namesSurviveRestart();
    void childReadsSceneFive();
    void gb2312FileReadsAndWritesBackTheSame();
    void handEditedCommaNameIsKept();
    void garbageFileGivesSixteenNames();
};

void TestSceneStore::newFileGetsDefaults()
{
    TestEnv env;
    QTest::ignoreMessage(QtDebugMsg, "create file");
    SceneStore store;
    // On disk before anything else happens, not only at exit.
    QVERIFY(!sceneFileMissing());
    for (int n = 1; n <= SceneStore::SceneCount; ++n) {
        QCOMPARE(store.sceneName(n - 1), QString::number(n));
        QCOMPARE(fileValue(QStringLiteral("SceneConfig/%1").arg(n)).toString(), QString::number(n));
        const QVariant saved = fileValue(QStringLiteral("SceneSaved/%1").arg(n));
        QVERIFY(saved.isValid());
        QCOMPARE(saved.toBool(), false);
    }
}

void TestSceneStore::missingKeyReadsEmptyAndIsWrittenBack()
{
    TestEnv env;
    QByteArray names;
    for (int n = 1; n <= SceneStore::SceneCount; ++n) {
        if (n != 7)
            names += QByteArray::number(n) + "=Room " + QByteArray::number(n) + "\n";
    }
    env.writeFile("SceneConfig.ini", sceneFile(names, "3=true\n"));
    {
        QTest::ignoreMessage(QtDebugMsg, "load file");
        SceneStore store;
        QCOMPARE(store.sceneName(6), QString());
        QCOMPARE(store.sceneName(7), QStringLiteral("Room 8"));
        QVERIFY(!fileValue(QStringLiteral("SceneConfig/7")).isValid());
    }
    QVERIFY(env.readFile("SceneConfig.ini").contains("\n7=\n"));
    QCOMPARE(fileValue(QStringLiteral("SceneConfig/16")).toString(), QStringLiteral("Room 16"));
    // The saved flags go back as they came, the missing ones as false.
    QCOMPARE(fileValue(QStringLiteral("SceneSaved/3")).toBool(), true);
    QVERIFY(fileValue(QStringLiteral("SceneSaved/4")).isValid());
    QCOMPARE(fileValue(QStringLiteral("SceneSaved/4")).toBool(), false);
}

void TestSceneStore::renamesReachDiskOnlyAtDestruction()
{
    TestEnv env;
    auto store = std::make_unique<SceneStore>();
    store->setSceneName(0, QStringLiteral("Stage"));
    QCOMPARE(store->sceneName(0), QStringLiteral("Stage"));
    // A program killed now keeps the names of the previous run.
    QCOMPARE(fileValue(QStringLiteral("SceneConfig/1")).toString(), QStringLiteral("1"));
    store.reset();
    QCOMPARE(fileValue(QStringLiteral("SceneConfig/1")).toString(), QStringLiteral("Stage"));
}

void TestSceneStore::namesSurviveRestart_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("chinese") << QStringLiteral("会议室大屏");
    QTest::newRow("traditional") << QStringLiteral("會議室");
    QTest::newRow("korean") << QStringLiteral("회의실 A");
    QTest::newRow("japanese kana") << QStringLiteral("かいぎしつ・カタカナ");
    QTest::newRow("thai") << QStringLiteral("ห้องประชุม");
    QTest::newRow("cyrillic and accents") << QStringLiteral("Зал Café");
    QTest::newRow("ini punctuation") << QStringLiteral("a=b; \"c\", [d] #e");
    QTest::newRow("empty") << QString();
}

void TestSceneStore::namesSurviveRestart()
{
    QFETCH(QString, name);
    TestEnv env;
    {
        SceneStore store;
        store.setSceneName(4, name);
    }
    QProcess child;
    child.setWorkingDirectory(env.path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // A marker in front keeps an empty name distinguishable from "not a child".
    environment.insert(QString::fromLatin1(ChildVariable), QLatin1Char('=') + name);
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("childReadsSceneFive")});
    QVERIFY(child.waitForFinished(30000));
    QVERIFY2(child.exitCode() == 0, child.readAllStandardOutput().constData());
}

void TestSceneStore::childReadsSceneFive()
{
    const QString marked = qEnvironmentVariable(ChildVariable);
    if (marked.isEmpty())
        QSKIP("runs only as a child of namesSurviveRestart");
    SceneStore restarted;
    QCOMPARE(restarted.sceneName(4), marked.mid(1));
    QCOMPARE(restarted.sceneName(5), QStringLiteral("6"));
}

void TestSceneStore::gb2312FileReadsAndWritesBackTheSame()
{
    TestEnv env;
    const QString hall = QStringLiteral("大厅投影");
    const QString office = QStringLiteral("办公室");
    const QByteArray names = "1=" + gb2312(hall) + "\n2=" + gb2312(office) + "\n";
    env.writeFile("SceneConfig.ini", sceneFile(names));
    {
        SceneStore store;
        QCOMPARE(store.sceneName(0), hall);
        QCOMPARE(store.sceneName(1), office);
    }
    // Older versions read the file as GB2312, so the Chinese bytes must not change.
    const QByteArray written = env.readFile("SceneConfig.ini");
    QVERIFY2(written.contains("1=" + gb2312(hall) + "\n"), written.constData());
    QVERIFY2(written.contains("2=" + gb2312(office) + "\n"), written.constData());
}

void TestSceneStore::handEditedCommaNameIsKept()
{
    TestEnv env;
    env.writeFile("SceneConfig.ini", sceneFile("9=Hall A, left\n"));
    SceneStore store;
    QCOMPARE(store.sceneName(8), QStringLiteral("Hall A, left"));
}

void TestSceneStore::garbageFileGivesSixteenNames()
{
    TestEnv env;
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += char((i * 131 + 7) % 256);
    env.writeFile("SceneConfig.ini", "[SceneConfig\n" + garbage);
    {
        SceneStore store;
        for (int i = 0; i < SceneStore::SceneCount; ++i)
            store.sceneName(i);
        store.setSceneName(15, QStringLiteral("Recovered"));
    }
    SceneStore again;
    QCOMPARE(again.sceneName(15), QStringLiteral("Recovered"));
}

QTEST_GUILESS_MAIN(TestSceneStore)
#include "tst_scenestore.moc"
