#include "support/testenv.h"

#include <QtTest>

// Installed into a prefix with a space in its name, then the program replaced by a script that reports how it ran.
class TestInstall : public QObject
{
    Q_OBJECT

    TestEnv m_env;

private slots:
    void initTestCase()
    {
        QCOMPARE(QProcess::execute(MC_CMAKE_COMMAND, {"--install", MC_BUILD_DIR, "--prefix", m_env.filePath("a prefix")}), 0);
        QStringList files = QString("bin/matrix-controller libexec/matrix-controller/matrix-controller "
                                    "share/applications/matrix-controller.desktop share/matrix-controller/resource.dll "
                                    "share/matrix-controller/Lang/zh_cn.qm share/matrix-controller/Lang/zh_tw.qm "
                                    "share/icons/hicolor/scalable/apps/matrix-controller.svg bin/matrixctl "
                                    "share/man/man1/matrixctl.1.gz share/bash-completion/completions/matrixctl bin/matrix-gateway "
                                    "share/man/man1/matrix-gateway.1.gz lib/systemd/system/matrix-gateway.service").split(' ');
        for (const int size : {16, 24, 32, 48, 64, 128, 256})
            files << QString("share/icons/hicolor/%1x%1/apps/matrix-controller.png").arg(size);
        for (const QString &file : qAsConst(files))
            QVERIFY2(QFileInfo("a prefix/" + file).isFile(), qPrintable(file));
        QCOMPARE(QProcess::execute("a prefix/bin/matrixctl", {"--version"}), 0);
        QCOMPARE(QProcess::execute("a prefix/bin/matrix-gateway", {"--version"}), 0);
        QVERIFY(m_env.readFile("a prefix/lib/systemd/system/matrix-gateway.service")
                    .contains(QByteArray("\nExecStart=" + m_env.filePath("a prefix").replace(' ', "\\x20").toUtf8() + "/bin/matrix-gateway $")));
        m_env.writeFile("a prefix/libexec/matrix-controller/matrix-controller",
                        "#!/bin/sh\n{ pwd -P; for a in \"$@\"; do echo \"$a\"; done; } > \"$MC_REPORT\"\n");
        qputenv("MC_REPORT", m_env.filePath("report").toUtf8());
    }

    void launcher_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("change"); // to the folder's two links before a second start
        QTest::newRow("from the menu entry, links kept") << "menu" << "";
        QTest::newRow("with XDG_DATA_HOME, links removed") << "xdg" << "remove";
        QTest::newRow("through a link, links to another installation") << "link" << "elsewhere";
        QTest::newRow("the user's own files") << "bin" << "own";
        QTest::newRow("copied away from its installation") << "copy" << "";
    }

    // A first start makes the folder, links the shared data in, runs the program there; later ones mend our links.
    void launcher()
    {
        QFETCH(QString, how);
        QFETCH(QString, change);
        const QString home = QString("home ") + QTest::currentDataTag(), shared = "a prefix/share/matrix-controller";
        const QString folder = home + (how == "xdg" ? "/data" : "/.local/share") + "/matrix-controller";
        qputenv("HOME", m_env.filePath(home).toUtf8());
        qputenv("XDG_DATA_HOME", how == "xdg" ? m_env.filePath(home + "/data").toUtf8() : QByteArray());
        const QString entry = QString::fromUtf8(m_env.readFile("a prefix/share/applications/matrix-controller.desktop"));
        QString launcher = how != "menu" ? m_env.filePath("a prefix/bin/matrix-controller")
                                         : QProcess::splitCommand(QRegularExpression("\nExec=(.*)\n").match(entry).captured(1)).value(0);
        if (how == "link" || how == "copy") {
            QVERIFY(QDir().mkpath(home) && (how == "link" ? QFile::link(launcher, home + "/mc") : QFile::copy(launcher, home + "/mc")));
            launcher = m_env.filePath(home + "/mc");
        }
        QFile::remove("report");
        const int code = QProcess::execute(launcher, {"-style", "two words"});
        if (how == "copy") {
            QVERIFY(code == 1 && !QFileInfo::exists(folder) && !QFileInfo::exists("report"));
            return;
        }
        const auto targets = [](const QString &dir) -> QString {
            return QFileInfo(dir + "/resource.dll").canonicalFilePath() + ' ' + QFileInfo(dir + "/Lang").canonicalFilePath();
        };
        QCOMPARE(m_env.readFile("report"), QFileInfo(folder).canonicalFilePath().toUtf8() + "\n-style\ntwo words\n");
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), (QStringList{"Lang", "resource.dll"}));
        QCOMPARE(targets(folder), targets(shared));

        m_env.writeFile(folder + "/AppConfig.ini", "[General]\nlangType=1\n");
        for (const QString name : {"/resource.dll", "/Lang"}) {
            QVERIFY(change.isEmpty() || QFile::remove(folder + name));
            QVERIFY(change != "elsewhere" || QFile::link(MC_RUN_DIR + name, folder + name));
            if (change == "own")
                m_env.writeFile(folder + name, "own");
        }
        const QString before = targets(folder);
        QCOMPARE(QProcess::execute(launcher, QStringList()), 0);
        QCOMPARE(m_env.readFile(folder + "/AppConfig.ini"), QByteArray("[General]\nlangType=1\n"));
        QCOMPARE(targets(folder), change == "own" ? before : targets(shared));
    }
};

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"
