// The whole window over stored files that are unreadable, empty, binary or
// huge: it starts, shows its panels and answers; whatever it cannot use stays
// on disk (the file itself or a ".bad" copy, byte for byte); and the debug log
// says what happened. The settings files are read once per process, so their
// cases run this executable again as a child in a prepared directory.
#include "app/mainwindow.h"
#include "support/logcapture.h"
#include "support/testenv.h"
#include "support/windowdriver.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QTableView>
#include <QtTest>

#include <memory>

namespace {

enum class Fault { Unreadable, Empty, Binary, Huge };

const char *const ChildFileVariable = "MC_FAULT_CHILD_FILE";
const char *const ChildMarkerVariable = "MC_FAULT_CHILD";
// What a directory put in place of a file holds, to see it left alone.
const QString Marker = QStringLiteral("keep-me");
constexpr int HugeDevices = 20000;
constexpr int HugeIniKeys = 60000;

QByteArray binary(int size)
{
    QRandomGenerator generator(static_cast<quint32>(size));
    QByteArray bytes;
    for (int i = 0; i < size; ++i)
        bytes.append(static_cast<char>(generator.bounded(256)));
    return bytes;
}

// A few megabytes of well-formed INI: the program's own group and many others.
QByteArray hugeIni(const QByteArray &ownGroup, const QByteArray &ownKeys)
{
    QByteArray text = "[" + ownGroup + "]\n" + ownKeys;
    // Each += of a string-builder expression reserves exactly what it needs, so
    // without room set aside this is quadratic (minutes under AddressSanitizer).
    text.reserve(HugeIniKeys * 64);
    for (int i = 0; i < HugeIniKeys; ++i) {
        if (i % 1000 == 0)
            text += "[Extra" + QByteArray::number(i / 1000) + "]\n";
        text += "key" + QByteArray::number(i) + "=a value that someone keeps here " + QByteArray::number(i) + "\n";
    }
    return text;
}

QByteArray hugeBook()
{
    QByteArray text = "{\"items\":[";
    for (int i = 0; i < HugeDevices; ++i) {
        if (i)
            text += ',';
        text += QStringLiteral(R"({"alias":"device %1","gateway":"127.0.0.254","ip":"127.0.%2.%3","mac":"","port":"6800","subnet":"255.0.0.0"})")
                    .arg(i)
                    .arg(i / 250)
                    .arg(i % 250 + 1)
                    .toUtf8();
    }
    return text + "]}";
}

QByteArray content(const QString &file, Fault fault)
{
    switch (fault) {
    case Fault::Empty:
        return QByteArray("");
    case Fault::Binary:
        return binary(4096);
    case Fault::Unreadable:
    case Fault::Huge:
        break;
    }
    if (file == QLatin1String("ipmanager"))
        return fault == Fault::Huge ? hugeBook() : QByteArray(R"({"items":[{"ip":"127.0.0.9","port":"6800"}]})");
    if (file == QLatin1String("AliasConfig.ini"))
        return hugeIni("InputAlias", "1=Camera\n2=Desk\n");
    if (file == QLatin1String("SceneConfig.ini"))
        return hugeIni("SceneConfig", "1=Morning\n2=Evening\n");
    return hugeIni("General", "incount=8\noutcount=8\nid=3\nPort=COM7\nBaud=115200\n");
}

// Makes the file unreadable: chmod 000 where that stops reads; as root it does
// not, so a directory (holding a marker file) takes the file's place.
bool makeUnreadable(const QString &path, const QByteArray &bytes, bool *asDirectory)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return false;
    file.close();
    file.setPermissions(QFileDevice::Permissions());
    if (!file.open(QIODevice::ReadOnly)) {
        *asDirectory = false;
        return true;
    }
    file.close();
    file.remove();
    *asDirectory = true;
    QDir().mkpath(path);
    QFile marker(path + QLatin1Char('/') + Marker);
    return marker.open(QIODevice::WriteOnly) && marker.write(bytes) == bytes.size();
}

// What an unreadable file must look like after the run: untouched.
bool unreadableLeftAlone(const QString &path, const QByteArray &bytes, bool asDirectory)
{
    if (asDirectory) {
        QFile marker(path + QLatin1Char('/') + Marker);
        return QFileInfo(path).isDir() && marker.open(QIODevice::ReadOnly) && marker.readAll() == bytes;
    }
    QFile file(path);
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return file.open(QIODevice::ReadOnly) && file.readAll() == bytes;
}

// The log names the file together with what went wrong.
bool saidWhy(const QString &log, const QString &file)
{
    static const QStringList Problems { QStringLiteral("could not"), QStringLiteral("can't"),
                                        QStringLiteral("damaged"), QStringLiteral("unreadable"),
                                        QStringLiteral("failed"), QStringLiteral("not valid") };
    const QStringList lines = log.split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (!line.contains(file))
            continue;
        for (const QString &problem : Problems) {
            if (line.contains(problem))
                return true;
        }
    }
    return false;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The window came up whole and takes clicks; fails the test otherwise.
bool windowAnswers(MainWindow &window, QString *why)
{
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        *why = QStringLiteral("never exposed");
        return false;
    }
    WindowDriver driver(&window);
    QCheckBox *hex = driver.hexSwitch();
    if (!hex) {
        *why = QStringLiteral("no debug console");
        return false;
    }
    const bool was = hex->isChecked();
    driver.click(hex);
    QCoreApplication::processEvents();
    if (hex->isChecked() == was) {
        *why = QStringLiteral("the hex switch did not answer a click");
        return false;
    }
    driver.click(hex);
    // A channel tile takes a click too.
    if (!driver.selectRoute(1, { 1 })) {
        *why = driver.error();
        return false;
    }
    return window.isVisible();
}

} // namespace

class TestFaultToleranceFiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void storeFiles_data();
    void storeFiles();
    void settingsFiles_data();
    void settingsFiles();
    void childWindow();

private:
    void addRows(const QStringList &files);
};

Q_DECLARE_METATYPE(Fault)

void TestFaultToleranceFiles::initTestCase()
{
    // A child reads its settings from the directory it was started in.
    if (!qEnvironmentVariableIsEmpty(ChildMarkerVariable))
        return;
    // The language is read once per process: English for the texts the driver looks for.
    TestEnv env;
    env.writeFile(QStringLiteral("AppConfig.ini"), "[General]\nlangType=2\n");
    QVERIFY(MainWindow().objectName() == QLatin1String("mainWindow"));
}

void TestFaultToleranceFiles::addRows(const QStringList &files)
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<Fault>("fault");
    const struct {
        const char *name;
        Fault fault;
    } faults[] = { { "unreadable", Fault::Unreadable }, { "empty", Fault::Empty },
                   { "binary", Fault::Binary }, { "huge", Fault::Huge } };
    for (const QString &file : files) {
        for (const auto &f : faults)
            QTest::addRow("%s %s", qPrintable(file), f.name) << file << f.fault;
    }
}

void TestFaultToleranceFiles::storeFiles_data()
{
    addRows({ QStringLiteral("AliasConfig.ini"), QStringLiteral("SceneConfig.ini"), QStringLiteral("ipmanager") });
}

// The alias, scene and address book stores are made with the window, so each
// case is a fresh window over one faulty file.
void TestFaultToleranceFiles::storeFiles()
{
    QFETCH(QString, file);
    QFETCH(Fault, fault);

    TestEnv env(true);
    const QString path = env.filePath(file);
    const QByteArray bytes = content(file, fault);
    bool asDirectory = false;
    if (fault == Fault::Unreadable)
        QVERIFY(makeUnreadable(path, bytes, &asDirectory));
    else
        env.writeFile(file, bytes);

    LogCapture log;
    {
        MainWindow window;
        QString why;
        QVERIFY2(windowAnswers(window, &why), qPrintable(why));
        WindowDriver driver(&window);
        if (file == QLatin1String("ipmanager") && fault == Fault::Huge)
            QCOMPARE(driver.deviceCell(HugeDevices - 1, 3), QStringLiteral("device %1").arg(HugeDevices - 1));
    }
    const QString said = log.lines().join(QLatin1Char('\n'));

    switch (fault) {
    case Fault::Unreadable:
        QVERIFY2(unreadableLeftAlone(path, bytes, asDirectory), asDirectory ? "directory" : "chmod 000");
        QVERIFY2(saidWhy(said, file), qPrintable(said));
        break;
    case Fault::Empty:
        QVERIFY(QFileInfo(path).isFile());
        break;
    case Fault::Binary:
        // Rewritten is fine, lost is not: the bytes are kept beside it.
        QVERIFY2(readAll(path) == bytes || readAll(path + QStringLiteral(".bad")) == bytes, qPrintable(said));
        QVERIFY2(saidWhy(said, file), qPrintable(said));
        break;
    case Fault::Huge:
        if (file == QLatin1String("ipmanager")) {
            const QJsonArray items =
                QJsonDocument::fromJson(readAll(path)).object().value(QStringLiteral("items")).toArray();
            QCOMPARE(items.size(), HugeDevices);
        } else {
            // Keys the program does not know are carried through its rewrite.
            const QByteArray after = readAll(path);
            QVERIFY(after.contains("key" + QByteArray::number(HugeIniKeys - 1) + "="));
            QVERIFY(after.size() >= bytes.size() * 9 / 10);
        }
        break;
    }
}

void TestFaultToleranceFiles::settingsFiles_data()
{
    addRows({ QStringLiteral("AppConfig.ini"), QStringLiteral("UserData.ini") });
}

// AppConfig.ini is only read by a run that changes nothing, so it must come out
// byte for byte; UserData.ini is rewritten at exit (port and baud rate), so a
// file it could not read must be kept beside it first.
void TestFaultToleranceFiles::settingsFiles()
{
    QFETCH(QString, file);
    QFETCH(Fault, fault);

    // Without Lang/ the texts are English whatever a damaged langType reads as.
    TestEnv env;
    const QString path = env.filePath(file);
    const QByteArray bytes = content(file, fault);
    bool asDirectory = false;
    if (fault == Fault::Unreadable)
        QVERIFY(makeUnreadable(path, bytes, &asDirectory));
    else
        env.writeFile(file, bytes);

    QProcess child;
    child.setWorkingDirectory(env.path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(ChildMarkerVariable), QStringLiteral("1"));
    environment.insert(QString::fromLatin1(ChildFileVariable), file);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), { QStringLiteral("childWindow") });
    QVERIFY(child.waitForFinished(60000));
    const QString said = QString::fromLocal8Bit(child.readAllStandardError() + child.readAllStandardOutput());
    QVERIFY2(child.exitCode() == 0, qPrintable(said));

    const bool rewrittenAtExit = file == QLatin1String("UserData.ini");
    switch (fault) {
    case Fault::Unreadable:
        QVERIFY2(unreadableLeftAlone(path, bytes, asDirectory), asDirectory ? "directory" : "chmod 000");
        QVERIFY2(saidWhy(said, file), qPrintable(said));
        break;
    case Fault::Empty:
        break;
    case Fault::Binary:
        if (rewrittenAtExit)
            QCOMPARE(readAll(path + QStringLiteral(".bad")), bytes);
        else
            QCOMPARE(readAll(path), bytes);
        QVERIFY2(saidWhy(said, file), qPrintable(said));
        break;
    case Fault::Huge:
        if (rewrittenAtExit) {
            const QByteArray after = readAll(path);
            QVERIFY(after.contains("key" + QByteArray::number(HugeIniKeys - 1) + "="));
            QVERIFY(after.contains("id=3"));
        } else {
            QCOMPARE(readAll(path), bytes);
        }
        break;
    }
}

// Runs only as the child of settingsFiles: one window over the prepared files.
void TestFaultToleranceFiles::childWindow()
{
    if (qEnvironmentVariableIsEmpty(ChildMarkerVariable))
        QSKIP("runs only as a child of settingsFiles");
    MainWindow window;
    QString why;
    QVERIFY2(windowAnswers(window, &why), qPrintable(why));
}

QTEST_MAIN(TestFaultToleranceFiles)
#include "tst_faulttolerance_files.moc"
