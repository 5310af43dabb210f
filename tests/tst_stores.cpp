// Settings, channel aliases, scene names and address book, as a start finds them and an exit leaves them.
#include "config/aliasstore.h"
#include "config/devicestore.h"
#include "config/filenotices.h"
#include "config/linkparameters.h"
#include "config/routestate.h"
#include "config/scenestore.h"
#include "config/settings.h"
#include "support/logcapture.h"
#include "support/testenv.h"

#include <QLocalServer>
#include <QtTest>

#include <memory>

namespace {

const QByteArray Socket("<socket>"); // there, but not a file anyone can open, even root
// What the program says of a file that is not sound.
const QRegularExpression Complaint("damaged|could not|can't|unreadable|failed|not valid|does not|not device|whole number|among");

QByteArray bytes(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// One start over one file: what it reads (no alias outside the 64 a side, none set there), then the exit's writes.
QString runOnce(const QString &file, QByteArray *whileOpen)
{
    if (file == QLatin1String("AliasConfig.ini")) {
        AliasStore s;
        *whileOpen = bytes(file);
        s.setInputAlias(64, "lost");
        s.setOutputAlias(-1, "lost");
        return s.inputAlias(0) + '|' + s.outputAlias(1) + s.inputAlias(64) + s.outputAlias(-1);
    }
    if (file == QLatin1String("SceneConfig.ini")) {
        SceneStore s;
        *whileOpen = bytes(file);
        return s.sceneName(0) + '|' + s.sceneName(1);
    }
    if (file == QLatin1String("ipmanager")) {
        DeviceStore s;
        QStringList read;
        for (const DeviceEntry &e : s.entries())
            read << QStringList {e.ip, e.port, e.subnet, e.gateway, e.mac, e.alias}.join(',');
        return read.join('|');
    }
    const LinkParameters p = readLinkParameters();
    if (file == QLatin1String("AppConfig.ini")) {
        setLangType(p.langType);
        return QStringLiteral("%1|%2|%3|%4").arg(getInCount()).arg(getOutCount()).arg(p.langType).arg(p.type);
    }
    setPort(p.port);
    setBaud(p.baud);
    return QStringLiteral("%1|%2|%3|%4|%5|%6|%7")
        .arg(p.matrixId).arg(p.port, p.baud, p.ipAddress, p.netPort).arg(p.connectType).arg(p.audio);
}

// Moves to a copy of the files, which a start parses anew (parsed files are kept per path).
void moveToCopy(const QStringList &files)
{
    QDir().mkdir(QStringLiteral("next"));
    for (const QString &file : files)
        QFile::copy(file, QStringLiteral("next/") + file);
    QDir::setCurrent(QStringLiteral("next"));
}

} // namespace

class TstStores : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_env = std::make_unique<TestEnv>(); }
    void init() { m_row = std::make_unique<TestEnv>(); }
    void cleanup() { m_row.reset(); }

    void startAndExit_data();
    void startAndExit();
    void namesReachTheNextStart_data();
    void namesReachTheNextStart();
    void everySetterWritesItsKey();
    void nameKeptWhenTheFileIsGone();
    void routingKnownAfterRestart_data();
    void routingKnownAfterRestart();

private:
    std::unique_ptr<TestEnv> m_env;
    std::unique_ptr<TestEnv> m_row;
};

void TstStores::startAndExit_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("content"); // null: no file
    QTest::addColumn<QString>("read");
    QTest::addColumn<QByteArrayList>("written"); // each must be in the file after exit
    QTest::addColumn<bool>("kept"); // aside as ".bad" before it is written over
    QTest::addColumn<QString>("log"); // debug lines that must come, one pattern a line
    const auto row = [](const QByteArray &name, const QString &file, const QByteArray &content, const QString &read,
                        const QByteArrayList &written, bool kept = false, const QString &log = {}) {
        QTest::newRow(name.constData()) << file << content << read << written << kept << log;
    };

    const QByteArray binary = QByteArray::fromHex("00fffe8001025b0a3d0d");
    const QString fresh("1|COM1|9600|192.168.1.168|6800|0|0"); // the user data of a first start
    // File, what it reads as when empty, what a damaged one logs. A file of names is damaged when blank.
    const QString defaults[][3] = {{"AppConfig.ini", "16|16|0|0", "AppConfig.ini is damaged; keys"},
                                   {"UserData.ini", fresh, "UserData.ini is damaged; keys"},
                                   {"AliasConfig.ini", QStringLiteral("输入通道 1|输出通道 2"), "AliasConfig.ini is damaged; names"},
                                   {"SceneConfig.ini", "1|2", "SceneConfig.ini is damaged; names"},
                                   {"ipmanager", "", "ipmanager is not a valid JSON address book.*kept as .*ipmanager.bad"}};
    for (const auto &d : defaults) {
        const QByteArray name = d[0].toLatin1();
        const bool names = d[2].endsWith("names");
        row(name + " blank", d[0], "\n \r\n", d[1], {}, names, names ? d[2] : QString());
        row(name + " binary", d[0], binary, d[1], {}, true, d[2]);
        row(name + " socket", d[0], Socket, d[1], {}, false, d[0] == "ipmanager" ? "could not be read" : "could not be read\ncould not be written");
    }

    const QString app("AppConfig.ini"), user("UserData.ini"), aliases("AliasConfig.ini"), scenes("SceneConfig.ini");
    row("counts -3 and 65", app, "[General]\nincount=-3\noutcount=65\nlangType=2\ntype=5\n", "16|64|2|5", {"langType=2\n"}, false,
        "incount=-3, which is no whole number from 0 to 64: 16 is used\noutcount=65, .* 64 is used");
    row("counts 0", app, "[General]\nincount=0\noutcount=0\n", "16|16|0|0", {"incount=0\n"});
    row("counts and language no number", app, "[General]\nincount=x\nlangType=2a\n", "16|16|0|0", {"incount=x\n"}, false,
        "incount=x, .*: 16 is used\nlangType=2a, which is no whole number: it reads as absent");
    row("id -1, blanks", user, "[General]\nid=-1\nPort=\nBaud=\nIPAdd=\nNetPort=\n", fresh, {"Baud=9600\n", "Port=COM1\n"});
    row("id 0, values", user, "[General]\nid=0\nPort=ttyS1\nBaud=115200\nIPAdd=127.0.0.1\nNetPort=7000\nConnectType=1\naudio=3\n",
        "0|ttyS1|115200|127.0.0.1|7000|1|3", {"Baud=115200\n", "id=0\n"});
    row("damage the reads see", user, "[General]\nPort=COM7\nbroken\n", "1|COM7|9600|192.168.1.168|6800|0|0",
        {"Port=COM7\n"}, true, "written anew");
    row("damage only the rewrite sees, id and type out of range", user, "[General]\nid=x\naudio=4\n[Other]\nbroken\n",
        "1|COM1|9600|192.168.1.168|6800|0|0", {"id=x\n"}, true,
        "written anew\nUserData.ini holds id=x, which is no whole number from 0 to 999: 1 is used\naudio=4, .* 0 to 3: 0 is used");
    row("id 1000, type -1", user, "[General]\nid=1000\naudio=-1\n", fresh, {"id=1000\n"}, false, "id=1000, .*: 1 is used\naudio=-1, .*: 0 is used");

    row("aliases: first start", aliases, {}, QStringLiteral("输入通道 1|输出通道 2"),
        {"[InputAlias]\n1=输入通道 1\n10=", "[OutputAlias]\n1=输出通道 1\n10=", "\n64=输出通道 64\n7="}, false, "create file");
    row("aliases: kept, missing, undecodable (empty in Qt 6), unknown", aliases,
        "[InputAlias]\n1=Cam 1, left\n2=\n3=\xe8\xbe\n40=Far\n[OutputAlias]\n1=Desk\n2=\xe8\xbe\n[Extra]\nk=v\n",
        QStringLiteral("Cam 1, left|输出通道 2"), {"40=Far\n", "[Extra]\nk=v\n", "[OutputAlias]\n1=Desk\n10=输出通道 10\n", "\n2=输入通道 2\n", "\n3=输入通道 3\n"},
        true, "load file\nAliasConfig.ini is damaged; names it lost take their defaults; the file is kept as AliasConfig.ini.bad");
    row("aliases: damaged", aliases, "[InputAlias\n1=Lost?\n[OutputAlias]\n2=Kept\n", "Lost?|Kept", {"2=Kept\n"}, true,
        "AliasConfig.ini.*damaged");

    row("scenes: first start", scenes, {}, "1|2",
        {"[SceneConfig]\n1=1\n10=10\n", "16=16\n2=2\n", "[SceneSaved]\n1=false\n10=false\n", "16=false\n2=false\n"},
        false, "create file");
    const QByteArray hall = QByteArray::fromHex("b4f3ccfccdb6d3b0"); // 大厅投影 in GB2312
    row("scenes: GB2312 name, empty, comma, undecodable, key 7 missing, flags kept", scenes,
        "[SceneConfig]\n1=" + hall + "\n2=\n3=Hall A, left\n4=\x81\n[SceneSaved]\n1=true\n", QStringLiteral("大厅投影|"),
        {"1=" + hall + "\n", "\n7=7\n", "\n2=\n", "\n4=4\n", "[SceneSaved]\n1=true\n10=false\n"}, true, "load file\nSceneConfig.ini is damaged");
    row("scenes: damaged", scenes, "[SceneConfig\n1=Lost\n2=Kept\n", "Lost|Kept", {"2=Kept\n"}, true, "SceneConfig.ini.*damaged");
    // As the Qt 5 build wrote it: each build reads it alike and writes it back byte for byte.
    const QByteArray fromQt5 = bytes(QStringLiteral(MC_SOURCE_DIR "/tests/data/SceneConfig-qt5.ini"));
    row("scenes: Chinese, Korean, Latin", scenes, fromQt5, QStringLiteral("大厅 Hall|회의실 A"), {fromQt5}, false, "load file");

    const QString book("ipmanager");
    const QByteArray noItems(R"({"items":[]})");
    row("book: none", book, {}, "", {noItems});
    row("book: pretty, members carried and dropped", book,
        "{\r\n \"zone\": 1,\n \"items\": [{\"ip\": \"127.0.0.1\", \"port\": \"6800\", \"subnet\": \"s\",\n"
        "  \"gateway\": \"g\", \"mac\": \"m\", \"alias\": \"大厅\", \"extra\": true}],\n \"about\": \"lab\"\n}\n",
        QStringLiteral("127.0.0.1,6800,s,g,m,大厅"),
        {R"({"about":"lab","items":[{"alias":"大厅","gateway":"g","ip":"127.0.0.1","mac":"m","port":"6800","subnet":"s"}],"zone":1})"});
    row("book: lone CR in garbage", book, "[[[items\"f\r[]", "", {"[[[items\"f\r[]"}, true, "not a valid JSON");
    row("book: array", book, "[{}]", "", {"[{}]"}, true, "not a valid JSON");
    row("book: items no array", book, R"({"items":{}})", "", {noItems}, true, "not device texts");
    row("book: read as text (no CR even in a string), numeric port, element no object", book,
        "{\r\n\"items\":[{\"ip\":\"127.0.0.1\r\",\"port\":6800},\"x\"]\r\n}", "127.0.0.1,,,,,|,,,,,",
        {R"({"items":[{"alias":"","gateway":"","ip":"127.0.0.1","mac":"","port":"","subnet":""},)"
         R"({"alias":"","gateway":"","ip":"","mac":"","port":"","subnet":""}]})"}, true, "not device texts");
    row("book: byte order mark in names", book, "{\"v\":2,\"\xef\xbb\xbfitems\":[{\"\xef\xbb\xbfip\":\"127.0.0.1\"}]}",
        "127.0.0.1,,,,,", {R"({"items":[{"alias":"","gateway":"","ip":"127.0.0.1","mac":"","port":"","subnet":""}],"v":2})"});
    row("book: number beyond 64 bits", book, R"({"v":21111111111111111111,"items":[]})", "", {R"("v":21111111111111110000})"});
    row("book: names with NUL", book, QByteArray(R"({"items":[],"":[{"ok#/s":[],"ok#a":true}]})").replace('#', '\0'),
        "", {R"({"":[{"ok\u0000/s":[],"ok\u0000a":true}],"items":[]})"});
}

void TstStores::startAndExit()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    QFETCH(QString, read);
    QFETCH(QByteArrayList, written);
    QFETCH(bool, kept);
    QFETCH(QString, log);

    m_row->writeFile(file + ".bad", "kept by an earlier run");
    QLocalServer socket;
    if (content == Socket)
        QVERIFY(socket.listen(QDir::current().absoluteFilePath(file)));
    else if (!content.isNull())
        m_row->writeFile(file, content);
    const QStringList patterns = log.split('\n', Qt::SkipEmptyParts);
    for (const QString &line : patterns)
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression(line));

    LogCapture console;
    QByteArray whileOpen;
    QCOMPARE(runOnce(file, &whileOpen), read);
    QCOMPARE(bytes(file + ".bad"), kept ? content : QByteArray("kept by an earlier run"));
    // Nothing said of a sound file, nothing but what the row expects of the others.
    for (const QString &line : console.lines().filter(Complaint)) {
        const auto expected = [&line](const QString &pattern) { return QRegularExpression(pattern).match(line).hasMatch(); };
        QVERIFY2(kept || content == Socket || std::any_of(patterns.cbegin(), patterns.cend(), expected), qPrintable(line));
    }
    // However often a file is read, each of its problems is told once.
    QStringList told = console.lines().filter(Complaint);
    QCOMPARE(told.removeDuplicates(), 0);
    // What cannot be read is left where it is, never written over.
    if (content == Socket) {
        QVERIFY(QFileInfo::exists(file) && !QFileInfo(file).isFile());
        return;
    }
    const QByteArray exited = bytes(file);
    for (const QByteArray &part : written) {
        QVERIFY2(exited.contains(part), exited.constData());
        // A first start writes the defaults at once (the address book waits for the exit).
        QVERIFY(!content.isNull() || file == QLatin1String("ipmanager") || whileOpen.contains(part));
    }

    // The next start reads the same from what was written and writes it back as it was.
    moveToCopy({file});
    QCOMPARE(runOnce(file, &whileOpen), read);
    QCOMPARE(bytes(file), exited);
    // A file left as it was is kept aside again, until the list changes.
    QCOMPARE(QFile::exists(file + ".bad"), kept && exited == content);
    if (kept && exited == content) {
        DeviceStore(file).setEntries({{"127.0.0.1", "", "", "", "", ""}});
        QVERIFY(bytes(file).contains(R"("ip":"127.0.0.1")"));
    }
}

void TstStores::namesReachTheNextStart_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("gb18030"); // GB2312's own bytes where GB2312 has the characters
    QTest::newRow("simplified") << QStringLiteral("舞台 左侧") << QByteArray::fromHex("cee8cca820d7f3b2e0");
    QTest::newRow("korean, beyond GB2312") << QStringLiteral("회의실 A") << QByteArray::fromHex("8336a237833397358332a3352041");
    QTest::newRow("beyond 16 bits") << QStringLiteral("𨋢 lift 😀") << QByteArray::fromHex("9738cd32206c696674209439fc36");
}

void TstStores::namesReachTheNextStart()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, gb18030);
    const LogCapture console; // each write goes through unremarked
    {
        AliasStore aliases;
        SceneStore scenes;
        DeviceStore devices;
        aliases.setInputAlias(7, name);
        aliases.setOutputAlias(63, name);
        scenes.setSceneName(4, name);
        devices.setEntries({{"127.0.0.1", "6800", "", "", "", name}});
        setPort(name);
    }
    // The same bytes from the Qt 5 and the Qt 6 build.
    QVERIFY(bytes("AliasConfig.ini").contains(QByteArray("\n8=" + name.toUtf8() + '\n')));
    QVERIFY(bytes("UserData.ini").contains(QByteArray("\nPort=" + name.toUtf8() + '\n')));
    QVERIFY(bytes("SceneConfig.ini").contains(QByteArray("\n5=" + gb18030 + '\n')));
    QVERIFY2(console.lines().filter(Complaint).isEmpty(), qPrintable(console.lines().join('\n')));
    moveToCopy({"AliasConfig.ini", "SceneConfig.ini", "ipmanager", "UserData.ini"});
    AliasStore aliases;
    SceneStore scenes;
    DeviceStore devices;
    QCOMPARE(aliases.inputAlias(7), name);
    QCOMPARE(aliases.outputAlias(63), name);
    QCOMPARE(scenes.sceneName(4), name);
    QCOMPARE(devices.entries().value(0).alias, name);
    QCOMPARE(readLinkParameters().port, name);
}

void TstStores::everySetterWritesItsKey()
{
    const QList<QPair<void (*)(int), int (*)()>> numbers = {
        {setAudio, getAudio}, {setLangType, getLangType}, {setType, getType}, {setMatrix, getMatrix}, {setInCount, getInCount},
        {setOutCount, getOutCount}, {setMatrixId, getMatrixId}, {setConnectType, getConnectType},
        {setPollInBegin, getPollInBegin}, {setPollInEnd, getPollInEnd}, {setPollOutStart, getPollOutStart},
        {setPollOutEnd, getPollOutEnd}, {setPollSleep, getPollSleep}, {setTimingStart, getTimingStart},
        {setTimingEnd, getTimingEnd}, {setTimingOut, getTimingOut}, {setTimingSleep, getTimingSleep}};
    int value = 0;
    for (const auto &accessor : numbers) {
        accessor.first(++value);
        QCOMPARE(accessor.second(), value);
    }
    for (const auto setText : {setPort, setBaud, setIPAdd, setNetPort})
        setText(QString::number(++value));
    // On disk at once, each key in its own file under "[General]".
    QCOMPARE(bytes("AppConfig.ini"), QByteArray("[General]\nincount=5\nlangType=2\nmatrix=4\noutcount=6\ntype=3\n"));
    QCOMPARE(bytes("UserData.ini"),
             QByteArray("[General]\nBaud=19\nConnectType=8\nIPAdd=20\nNetPort=21\nPollInBegin=9\nPollInEnd=10\n"
                        "PollOutEnd=12\nPollOutStart=11\nPollSleep=13\nPort=18\nTimingEnd=15\nTimingOut=16\n"
                        "TimingSleep=17\nTimingStart=14\naudio=1\nid=7\n"));
}

// A name given while its file cannot be written stays in use, and the console says which one.
void TstStores::nameKeptWhenTheFileIsGone()
{
    SceneStore scenes;
    QVERIFY(QFile::remove("SceneConfig.ini") && QDir().mkdir("SceneConfig.ini"));
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("could not be written"));
    FileNotices::instance().takePending();
    scenes.setSceneName(4, "Hall");
    QCOMPARE(scenes.sceneName(4), QString("Hall"));
    QCOMPARE(FileNotices::instance().takePending(),
             QStringList("SceneConfig.ini could not be written; the new name of scene 5 is kept in memory"));
    QVERIFY(QDir().rmdir("SceneConfig.ini"));
}

void TstStores::routingKnownAfterRestart_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("read"); // 4 inputs x 3 outputs, then input 2 sent to output 3
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("absent") << Socket << "0,0,0" << QByteArray(R"({"inputs":4,"outputs":3,"routing":[0,0,2]})");
    QTest::newRow("kept") << QByteArray(R"({"inputs":4,"outputs":3,"routing":[4,1,3]})") << "4,1,3"
                          << QByteArray(R"({"inputs":4,"outputs":3,"routing":[4,1,2]})");
    // Another size, inputs the matrix lacks, and what is no input at all read as unknown.
    QTest::newRow("other counts") << QByteArray(R"({"inputs":8,"outputs":8,"routing":[5,2.5,"1",-1,4,4]})")
                                  << "0,0,0" << QByteArray(R"({"inputs":4,"outputs":3,"routing":[0,0,2]})");
    QTest::newRow("short") << QByteArray(R"({"routing":[3]})") << "3,0,0"
                           << QByteArray(R"({"inputs":4,"outputs":3,"routing":[3,0,2]})");
    QTest::newRow("not JSON") << QByteArray("{\"routing\":[1,") << "0,0,0"
                              << QByteArray(R"({"inputs":4,"outputs":3,"routing":[0,0,2]})");
}

void TstStores::routingKnownAfterRestart()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, read);
    QFETCH(QByteArray, written);
    if (file != Socket) {
        QFile f("RouteState.json");
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(file);
    }
    RouteState state(4, 3);
    QStringList seen;
    for (int output = 1; output <= 3; ++output)
        seen << QString::number(state.inputOf(output));
    QCOMPARE(seen.join(','), read);
    QCOMPARE(state.loadProblem().isEmpty(), !file.startsWith("{\"routing\":[1,"));
    // Unchanged, bad input or output: nothing written.
    QVERIFY(!state.setRoute(state.inputOf(1), 1));
    QVERIFY(!state.setRoute(5, 3) && !state.setRoute(2, 4) && !state.setRoute(0, 3));
    QVERIFY(state.setRoute(2, 3));
    QCOMPARE(bytes("RouteState.json"), written);
    QCOMPARE(RouteState(4, 3).routing(), state.routing());
}

QTEST_GUILESS_MAIN(TstStores)
#include "tst_stores.moc"
