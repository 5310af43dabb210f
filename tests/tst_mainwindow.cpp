#include "app/mainwindow.h"
#include "support/testenv.h"

#include <QApplication>
#include <QLayout>
#include <QProcess>
#include <QtTest>

#include <memory>

// The language is read once per process, so each start-up case runs this
// executable again as a child in a prepared working directory.
static const char *const ChildVariable = "MC_STARTUP_CHILD";

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void startupLanguage_data();
    void startupLanguage();
    void childStartup();

    void windowShape();
    void languageSwitching();

private:
    static QString sample() { return QCoreApplication::translate("CAliasSetting", "Scene"); }
};

void TestMainWindow::startupLanguage_data()
{
    QTest::addColumn<bool>("withLang");
    QTest::addColumn<QByteArray>("appConfig");
    QTest::addColumn<QString>("expected");
    QTest::newRow("fresh install, Lang present") << true << QByteArray() << QStringLiteral("场景");
    QTest::newRow("fresh install, no Lang") << false << QByteArray() << QStringLiteral("Scene");
    QTest::newRow("traditional") << true << QByteArray("[General]\nlangType=1\n") << QStringLiteral("場景");
    QTest::newRow("english") << true << QByteArray("[General]\nlangType=2\n") << QStringLiteral("Scene");
    QTest::newRow("unknown code") << true << QByteArray("[General]\nlangType=7\n") << QStringLiteral("Scene");
}

void TestMainWindow::startupLanguage()
{
    QFETCH(bool, withLang);
    QFETCH(QByteArray, appConfig);
    QFETCH(QString, expected);

    TestEnv env(withLang);
    if (!appConfig.isEmpty())
        env.writeFile("AppConfig.ini", appConfig);

    QProcess child;
    child.setWorkingDirectory(env.path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(ChildVariable), expected);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("childStartup")});
    QVERIFY(child.waitForFinished(60000));
    QVERIFY2(child.exitCode() == 0, child.readAllStandardOutput().constData());
}

void TestMainWindow::childStartup()
{
    const QString expected = qEnvironmentVariable(ChildVariable);
    if (expected.isEmpty())
        QSKIP("runs only as a child of startupLanguage");
    MainWindow window;
    QCOMPARE(sample(), expected);
}

void TestMainWindow::windowShape()
{
    TestEnv env(true);
    env.writeFile("AppConfig.ini", "[General]\nlangType=2\n");
    MainWindow window;
    QCOMPARE(window.objectName(), QStringLiteral("mainWindow"));
    QVERIFY(window.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(window.minimumSize(), QSize(780, 700));
    QCOMPARE(window.maximumSize(), QSize(780, 700));

    // Title on top, then connection and scenes side by side, switcher, debug at the foot.
    QLayout *layout = window.centralWidget()->layout();
    QVERIFY(layout);
    QCOMPARE(layout->count(), 5);
    QCOMPARE(layout->itemAt(0)->widget()->objectName(), QStringLiteral("titleWidget"));
    QLayout *row = layout->itemAt(1)->layout();
    QVERIFY(row);
    QCOMPARE(row->itemAt(0)->widget()->objectName(), QStringLiteral("connectWidget"));
    QCOMPARE(row->itemAt(1)->widget()->objectName(), QStringLiteral("sceneWidget"));
    QCOMPARE(layout->itemAt(2)->widget()->objectName(), QStringLiteral("switchWidget"));
    QVERIFY(layout->itemAt(3)->spacerItem());
    QCOMPARE(layout->itemAt(4)->widget()->objectName(), QStringLiteral("debugWidget"));
    QCOMPARE(layout->contentsMargins(), QMargins(1, 1, 1, 1));
}

void TestMainWindow::languageSwitching()
{
    TestEnv env(true);
    env.writeFile("AppConfig.ini", "[General]\nlangType=2\n");
    MainWindow window;
    QCOMPARE(sample(), QStringLiteral("Scene"));

    window.onChangeLang(1);
    QCOMPARE(sample(), QStringLiteral("場景"));
    window.onChangeLang(2);
    QCOMPARE(sample(), QStringLiteral("Scene"));
    window.onChangeLang(1);
    QCOMPARE(sample(), QStringLiteral("場景"));
    window.onChangeLang(7);
    QCOMPARE(sample(), QStringLiteral("場景"));
    window.onChangeLang(0);
    QCOMPARE(sample(), QStringLiteral("场景"));

    // A missing file leaves an empty translator: the built-in texts show.
    QFile::remove(env.filePath("Lang/zh_tw.qm"));
    window.onChangeLang(1);
    QCOMPARE(sample(), QStringLiteral("Scene"));
    // Nothing about the language is stored by the window itself.
    QCOMPARE(env.readFile("AppConfig.ini"), QByteArray("[General]\nlangType=2\n"));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
