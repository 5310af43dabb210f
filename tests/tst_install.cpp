#include "support/testenv.h"

#include <QDirIterator>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

#include <memory>

// The installed program is started by a launcher that gives every user a
// working folder under the XDG data home. These cases install the build tree
// into a prefix with a space in its name, start the launcher from there and
// look at the folder the program runs in; the last one builds the .deb.

namespace {

const int ProcessTimeoutMs = 60000;
const int ProgramStartTimeoutMs = 20000;
const int ProgramStopTimeoutMs = 5000;
const int IconSizes[] = {16, 24, 32, 48, 64, 128, 256};
const char *const SettingsFiles[] = {"AppConfig.ini", "UserData.ini", "SceneConfig.ini",
                                     "AliasConfig.ini", "ipmanager", "logo.png"};

struct Run
{
    int exitCode = -1;
    QByteArray output;
    QByteArray errors;
};

Run runProcess(const QString &program, const QStringList &args,
               const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, args);
    Run run;
    if (!process.waitForFinished(ProcessTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        run.errors = "did not finish: " + program.toUtf8();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.output = process.readAllStandardOutput();
    run.errors = process.readAllStandardError();
    return run;
}

// Every file and link below root, relative and sorted; links are not followed.
QStringList filesUnder(const QString &root)
{
    QStringList files;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden,
                    QDirIterator::Subdirectories);
    const QDir base(root);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        if (!entry.isDir() || entry.isSymLink())
            files << base.relativeFilePath(entry.filePath());
    }
    files.sort();
    return files;
}

// What an installation holds, below its prefix.
QStringList expectedInstallTree()
{
    QStringList files = {
        QStringLiteral("bin/matrix-controller"),
        QStringLiteral("libexec/matrix-controller/matrix-controller"),
        QStringLiteral("share/matrix-controller/resource.dll"),
        QStringLiteral("share/matrix-controller/Lang/zh_cn.qm"),
        QStringLiteral("share/matrix-controller/Lang/zh_tw.qm"),
        QStringLiteral("share/applications/matrix-controller.desktop"),
        QStringLiteral("share/icons/hicolor/scalable/apps/matrix-controller.svg"),
    };
    for (const int size : IconSizes)
        files << QStringLiteral("share/icons/hicolor/%1x%1/apps/matrix-controller.png").arg(size);
    if (MC_INSTALLS_SIM)
        files << QStringLiteral("bin/matrix-sim");
    files.sort();
    return files;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
}

QByteArray settingsContent(const char *name)
{
    return QByteArray("[General]\nkept=") + name + '\n';
}

QString canonical(const QString &path)
{
    return QFileInfo(path).canonicalFilePath();
}

// The value of key in the [Desktop Entry] group of a desktop file.
QString desktopValue(const QByteArray &entry, const QString &key)
{
    const QString prefix = key + QLatin1Char('=');
    const QStringList lines = QString::fromUtf8(entry).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size());
    }
    return QString();
}

} // namespace

class TestInstall : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void installTreeHoldsEveryFile();
    void iconsHaveTheirSizes_data();
    void iconsHaveTheirSizes();
    void desktopEntryRunsTheLauncher();
    void programStartsInUserFolder();

    void firstStartPreparesFolder_data();
    void firstStartPreparesFolder();
    void laterStartKeepsSettings_data();
    void laterStartKeepsSettings();
    void launcherFollowsItsLinks();
    void brokenInstallationIsReported();

    void debianPackage();

private:
    QString install(const QString &name);
    Run startStub(const QString &launcher, const QProcessEnvironment &env,
                  const QStringList &args = QStringList());
    QProcessEnvironment userEnvironment(const QString &home) const;
    void verifyLinks(const QString &folder, const QString &prefix);

    std::unique_ptr<TestEnv> m_env;
    QString m_prefix;     // the real program
    QString m_stubPrefix; // the program replaced by a script that reports where it ran
};

void TestInstall::initTestCase()
{
    m_env = std::make_unique<TestEnv>();
    m_prefix = install(QStringLiteral("real prefix"));
    QVERIFY(!m_prefix.isEmpty());
    m_stubPrefix = install(QStringLiteral("stub prefix"));
    QVERIFY(!m_stubPrefix.isEmpty());

    const QString stub = m_stubPrefix + QStringLiteral("/libexec/matrix-controller/matrix-controller");
    QVERIFY(QFile::remove(stub));
    QVERIFY(writeAll(stub, "#!/bin/sh\n{ pwd -P; for a in \"$@\"; do echo \"$a\"; done; } > \"$MC_STUB_REPORT\"\n"));
    QVERIFY(QFile::setPermissions(stub, QFile::permissions(stub) | QFile::ExeOwner));
}

QString TestInstall::install(const QString &name)
{
    const QString prefix = m_env->filePath(name);
    const Run run = runProcess(QStringLiteral(MC_CMAKE_COMMAND),
                               {QStringLiteral("--install"), QStringLiteral(MC_BUILD_DIR),
                                QStringLiteral("--prefix"), prefix});
    if (run.exitCode != 0) {
        qWarning().noquote() << run.output << run.errors;
        return QString();
    }
    return prefix;
}

QProcessEnvironment TestInstall::userEnvironment(const QString &home) const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QDir().mkpath(home);
    env.insert(QStringLiteral("HOME"), home);
    env.remove(QStringLiteral("XDG_DATA_HOME"));
    env.insert(QStringLiteral("MC_STUB_REPORT"), m_env->filePath(QStringLiteral("stub-report")));
    return env;
}

Run TestInstall::startStub(const QString &launcher, const QProcessEnvironment &env, const QStringList &args)
{
    QFile::remove(m_env->filePath(QStringLiteral("stub-report")));
    Run run = runProcess(launcher, args, env);
    run.output = readAll(m_env->filePath(QStringLiteral("stub-report")));
    return run;
}

// The folder's resource.dll and Lang are working links into prefix's shared data.
void TestInstall::verifyLinks(const QString &folder, const QString &prefix)
{
    const QString shared = prefix + QStringLiteral("/share/matrix-controller");
    for (const QString &name : {QStringLiteral("resource.dll"), QStringLiteral("Lang")}) {
        const QFileInfo link(folder + QLatin1Char('/') + name);
        QVERIFY2(link.isSymLink(), qPrintable(link.filePath()));
        QCOMPARE(link.symLinkTarget(), canonical(shared + QLatin1Char('/') + name));
    }
    QCOMPARE(readAll(folder + QStringLiteral("/resource.dll")), readAll(QStringLiteral(MC_RUN_DIR "/resource.dll")));
    for (const QString &qm : {QStringLiteral("zh_cn.qm"), QStringLiteral("zh_tw.qm")})
        QCOMPARE(readAll(folder + QStringLiteral("/Lang/") + qm), readAll(QStringLiteral(MC_RUN_DIR "/Lang/") + qm));
}

void TestInstall::installTreeHoldsEveryFile()
{
    QCOMPARE(filesUnder(m_prefix), expectedInstallTree());

    for (const QString &program : {QStringLiteral("bin/matrix-controller"),
                                   QStringLiteral("libexec/matrix-controller/matrix-controller")})
        QVERIFY2(QFileInfo(m_prefix + QLatin1Char('/') + program).isExecutable(), qPrintable(program));
    QCOMPARE(readAll(m_prefix + QStringLiteral("/share/matrix-controller/resource.dll")),
             readAll(QStringLiteral(MC_RUN_DIR "/resource.dll")));
    QVERIFY(readAll(m_prefix + QStringLiteral("/bin/matrix-controller")).startsWith("#!/bin/sh\n"));
}

void TestInstall::iconsHaveTheirSizes_data()
{
    QTest::addColumn<int>("size");
    for (const int size : IconSizes)
        QTest::newRow(qPrintable(QString::number(size))) << size;
}

void TestInstall::iconsHaveTheirSizes()
{
    QFETCH(int, size);
    const QImage icon(m_prefix + QStringLiteral("/share/icons/hicolor/%1x%1/apps/matrix-controller.png").arg(size));
    QCOMPARE(icon.size(), QSize(size, size));
    QVERIFY(icon.hasAlphaChannel());
}

void TestInstall::desktopEntryRunsTheLauncher()
{
    const QByteArray entry = readAll(m_prefix + QStringLiteral("/share/applications/matrix-controller.desktop"));
    QVERIFY(entry.startsWith("[Desktop Entry]\n"));
    QCOMPARE(desktopValue(entry, QStringLiteral("Type")), QStringLiteral("Application"));
    QCOMPARE(desktopValue(entry, QStringLiteral("Name")), QStringLiteral("Matrix Controller"));
    QCOMPARE(desktopValue(entry, QStringLiteral("Icon")), QStringLiteral("matrix-controller"));
    QCOMPARE(desktopValue(entry, QStringLiteral("Terminal")), QStringLiteral("false"));
    // The prefix has a space in its name, so the path is quoted.
    QCOMPARE(desktopValue(entry, QStringLiteral("Exec")),
             QString(QLatin1Char('"') + m_prefix + QStringLiteral("/bin/matrix-controller\"")));
}

void TestInstall::programStartsInUserFolder()
{
    if (!QFileInfo::exists(QStringLiteral("/proc/self/maps")))
        QSKIP("needs /proc to see the files the program has open");

    const QString home = m_env->filePath(QStringLiteral("real home"));
    const QString dataHome = m_env->filePath(QStringLiteral("real data"));
    QProcessEnvironment env = userEnvironment(home);
    env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));

    QProcess program;
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(m_prefix + QStringLiteral("/bin/matrix-controller"), QStringList());
    QVERIFY(program.waitForStarted());
    const QString proc = QStringLiteral("/proc/%1/").arg(program.processId());

    // The launcher hands over its process, and the program maps the style sheet
    // bundle and the stored (default) translation from the installed files.
    const QString shared = canonical(m_prefix + QStringLiteral("/share/matrix-controller"));
    const QByteArray resource = (shared + QStringLiteral("/resource.dll")).toUtf8();
    const QByteArray translation = (shared + QStringLiteral("/Lang/zh_cn.qm")).toUtf8();
    QTRY_VERIFY_WITH_TIMEOUT(readAll(proc + QStringLiteral("maps")).contains(resource)
                                 && readAll(proc + QStringLiteral("maps")).contains(translation),
                             ProgramStartTimeoutMs);
    const QString folder = canonical(dataHome + QStringLiteral("/matrix-controller"));
    QCOMPARE(QFileInfo(proc + QStringLiteral("cwd")).symLinkTarget(), folder);
    QCOMPARE(QFileInfo(proc + QStringLiteral("exe")).symLinkTarget(),
             canonical(m_prefix + QStringLiteral("/libexec/matrix-controller/matrix-controller")));

    program.terminate();
    if (!program.waitForFinished(ProgramStopTimeoutMs)) {
        program.kill();
        program.waitForFinished();
    }

    verifyLinks(folder, m_prefix);
    // Nothing landed next to the program or in the home folder.
    QCOMPARE(filesUnder(m_prefix), expectedInstallTree());
    for (const char *name : SettingsFiles)
        QVERIFY2(!QFileInfo::exists(home + QLatin1Char('/') + QLatin1String(name)), name);
}

void TestInstall::firstStartPreparesFolder_data()
{
    QTest::addColumn<bool>("setDataHome");
    QTest::addColumn<QString>("dataHome");
    QTest::addColumn<QString>("expectedBelowHome");

    const QString folder = QStringLiteral("/.local/share/matrix-controller");
    QTest::newRow("XDG_DATA_HOME set") << true << QStringLiteral("own data") << QString();
    QTest::newRow("XDG_DATA_HOME unset") << false << QString() << folder;
    QTest::newRow("XDG_DATA_HOME empty") << true << QString() << folder;
    // Relative values are to be ignored.
    QTest::newRow("XDG_DATA_HOME relative") << true << QStringLiteral("relative/data") << folder;
}

void TestInstall::firstStartPreparesFolder()
{
    QFETCH(bool, setDataHome);
    QFETCH(QString, dataHome);
    QFETCH(QString, expectedBelowHome);

    const QString home = m_env->filePath(QStringLiteral("first home ") + QString::fromLatin1(QTest::currentDataTag()));
    QProcessEnvironment env = userEnvironment(home);
    QString expected = home + expectedBelowHome;
    if (setDataHome) {
        const bool absolute = !dataHome.isEmpty() && !dataHome.startsWith(QLatin1String("relative"));
        if (absolute) {
            dataHome = m_env->filePath(dataHome);
            expected = dataHome + QStringLiteral("/matrix-controller");
        }
        env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
    }

    const Run run = startStub(m_stubPrefix + QStringLiteral("/bin/matrix-controller"), env,
                              {QStringLiteral("-style"), QStringLiteral("two words")});
    QVERIFY2(run.exitCode == 0, run.errors.constData());
    QCOMPARE(QString::fromUtf8(run.output).split(QLatin1Char('\n')),
             QStringList({canonical(expected), QStringLiteral("-style"), QStringLiteral("two words"), QString()}));

    verifyLinks(expected, m_stubPrefix);
    QCOMPARE(filesUnder(expected), QStringList({QStringLiteral("Lang"), QStringLiteral("resource.dll")}));
    if (!expectedBelowHome.isEmpty())
        QCOMPARE(filesUnder(home), QStringList({QStringLiteral(".local/share/matrix-controller/Lang"),
                                                QStringLiteral(".local/share/matrix-controller/resource.dll")}));
    else
        QCOMPARE(filesUnder(home), QStringList());
}

void TestInstall::laterStartKeepsSettings_data()
{
    // What happened to the two entries between the runs, and whether the
    // launcher must leave them as they are (the user's own) or link them anew.
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("linksExpected");

    QTest::newRow("nothing") << QString() << true;
    QTest::newRow("links removed") << QStringLiteral("remove") << true;
    QTest::newRow("links broken") << QStringLiteral("dangle") << true;
    QTest::newRow("links to another installation") << QStringLiteral("elsewhere") << true;
    QTest::newRow("user's own files") << QStringLiteral("own") << false;
}

void TestInstall::laterStartKeepsSettings()
{
    QFETCH(QString, change);
    QFETCH(bool, linksExpected);

    const QString home = m_env->filePath(QStringLiteral("later home ") + QString::fromLatin1(QTest::currentDataTag()));
    const QProcessEnvironment env = userEnvironment(home);
    const QString launcher = m_stubPrefix + QStringLiteral("/bin/matrix-controller");
    const QString folder = home + QStringLiteral("/.local/share/matrix-controller");
    const QString resource = folder + QStringLiteral("/resource.dll");
    const QString lang = folder + QStringLiteral("/Lang");

    QCOMPARE(startStub(launcher, env).exitCode, 0);
    for (const char *name : SettingsFiles)
        QVERIFY(writeAll(folder + QLatin1Char('/') + QLatin1String(name), settingsContent(name)));

    if (!change.isEmpty()) {
        QVERIFY(QFile::remove(resource));
        QVERIFY(QFile::remove(lang));
    }
    if (change == QLatin1String("dangle")) {
        QVERIFY(QFile::link(m_env->filePath(QStringLiteral("gone/resource.dll")), resource));
        QVERIFY(QFile::link(m_env->filePath(QStringLiteral("gone/Lang")), lang));
    } else if (change == QLatin1String("elsewhere")) {
        QVERIFY(QFile::link(m_prefix + QStringLiteral("/share/matrix-controller/resource.dll"), resource));
        QVERIFY(QFile::link(m_prefix + QStringLiteral("/share/matrix-controller/Lang"), lang));
    } else if (change == QLatin1String("own")) {
        QVERIFY(writeAll(resource, "own bundle"));
        QVERIFY(QDir().mkpath(lang));
        QVERIFY(writeAll(lang + QStringLiteral("/zh_cn.qm"), "own texts"));
    }

    const Run run = startStub(launcher, env);
    QVERIFY2(run.exitCode == 0, run.errors.constData());
    QCOMPARE(run.output, QString(canonical(folder) + QLatin1Char('\n')).toUtf8());

    for (const char *name : SettingsFiles)
        QCOMPARE(readAll(folder + QLatin1Char('/') + QLatin1String(name)), settingsContent(name));
    if (linksExpected) {
        verifyLinks(folder, m_stubPrefix);
    } else {
        QVERIFY(!QFileInfo(resource).isSymLink());
        QVERIFY(!QFileInfo(lang).isSymLink());
        QCOMPARE(readAll(resource), QByteArray("own bundle"));
        QCOMPARE(filesUnder(lang), QStringList({QStringLiteral("zh_cn.qm")}));
    }
}

void TestInstall::launcherFollowsItsLinks()
{
    // As when /usr/local/bin/matrix-controller points into an installation.
    const QString bin = m_env->filePath(QStringLiteral("linked bin"));
    QVERIFY(QDir().mkpath(bin));
    QVERIFY(QFile::link(m_stubPrefix + QStringLiteral("/bin/matrix-controller"), bin + QStringLiteral("/mc")));

    const QString home = m_env->filePath(QStringLiteral("linked home"));
    const Run run = startStub(bin + QStringLiteral("/mc"), userEnvironment(home));
    QVERIFY2(run.exitCode == 0, run.errors.constData());
    verifyLinks(home + QStringLiteral("/.local/share/matrix-controller"), m_stubPrefix);
}

void TestInstall::brokenInstallationIsReported()
{
    // A launcher copied away from its installation finds no program beside it.
    const QString bin = m_env->filePath(QStringLiteral("stray/bin"));
    QVERIFY(QDir().mkpath(bin));
    QVERIFY(QFile::copy(m_stubPrefix + QStringLiteral("/bin/matrix-controller"), bin + QStringLiteral("/matrix-controller")));

    const QString home = m_env->filePath(QStringLiteral("stray home"));
    const Run run = startStub(bin + QStringLiteral("/matrix-controller"), userEnvironment(home));
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.errors.contains("the program is missing"), run.errors.constData());
    QCOMPARE(run.output, QByteArray());
    QCOMPARE(filesUnder(home), QStringList());
}

void TestInstall::debianPackage()
{
    const QString dpkgDeb = QStandardPaths::findExecutable(QStringLiteral("dpkg-deb"));
    if (dpkgDeb.isEmpty())
        QSKIP("dpkg-deb is not installed");

    // cpack first builds whatever is out of date (its preinstall step), so this
    // expects the tree fully built, as ./test leaves it.
    const QString out = m_env->filePath(QStringLiteral("deb"));
    const Run pack = runProcess(QStringLiteral(MC_CPACK_COMMAND),
                                {QStringLiteral("--config"), QStringLiteral(MC_BUILD_DIR "/CPackConfig.cmake"),
                                 QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("-B"), out});
    QVERIFY2(pack.exitCode == 0, QByteArray(pack.output + pack.errors).constData());
    const QStringList debs = QDir(out).entryList({QStringLiteral("*.deb")}, QDir::Files);
    QCOMPARE(debs.size(), 1);
    const QString deb = out + QLatin1Char('/') + debs.first();

    const Run fields = runProcess(dpkgDeb, {QStringLiteral("--field"), deb, QStringLiteral("Package"),
                                            QStringLiteral("Section"), QStringLiteral("Depends")});
    QCOMPARE(fields.exitCode, 0);
    QVERIFY(fields.output.contains("Package: matrix-controller\n"));
    QVERIFY(fields.output.contains("Section: video\n"));
    for (const char *dependency : {"libqt5core5a", "libqt5gui5", "libqt5widgets5", "libqt5network5",
                                   "libqt5serialport5", "fonts-noto-cjk"})
        QVERIFY2(fields.output.contains(dependency), dependency);

    const QString root = m_env->filePath(QStringLiteral("deb root"));
    QCOMPARE(runProcess(dpkgDeb, {QStringLiteral("--extract"), deb, root}).exitCode, 0);
    QCOMPARE(filesUnder(root + QStringLiteral("/usr")), expectedInstallTree());
    const QByteArray entry = readAll(root + QStringLiteral("/usr/share/applications/matrix-controller.desktop"));
    QCOMPARE(desktopValue(entry, QStringLiteral("Exec")), QStringLiteral("/usr/bin/matrix-controller"));
    const QByteArray launcher = readAll(root + QStringLiteral("/usr/bin/matrix-controller"));
    QVERIFY(launcher.contains("program=\"$here/../libexec/matrix-controller/matrix-controller\""));
}

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"
