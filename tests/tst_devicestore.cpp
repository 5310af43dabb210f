#include "config/devicestore.h"
#include "support/testenv.h"

#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(DeviceEntry)

namespace {

DeviceEntry entry(const QString &ip, const QString &port, const QString &subnet,
                  const QString &gateway, const QString &mac, const QString &alias)
{
    return DeviceEntry {ip, port, subnet, gateway, mac, alias};
}

} // namespace

// The address book file "ipmanager" as it is read and written.
class TestDeviceStore : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void noFileWritesEmptyItems();
    void writesCompactSortedUtf8();
    void roundTrip_data();
    void roundTrip();
    void unreadableContentIsKept_data();
    void unreadableContentIsKept();
    void fileLivesInTheWorkingDirectory();

private:
    std::unique_ptr<TestEnv> m_env;
};

void TestDeviceStore::init()
{
    m_env = std::make_unique<TestEnv>();
}

void TestDeviceStore::cleanup()
{
    m_env.reset();
}

void TestDeviceStore::noFileWritesEmptyItems()
{
    {
        DeviceStore store;
        QVERIFY(store.entries().isEmpty());
        // Nothing is written before the store goes away.
        QVERIFY(!QFile::exists(m_env->filePath("ipmanager")));
    }
    QCOMPARE(m_env->readFile("ipmanager"), QByteArray(R"({"items":[]})"));
    QVERIFY(!QFile::exists(m_env->filePath("ipmanager.bad")));
}

void TestDeviceStore::writesCompactSortedUtf8()
{
    {
        DeviceStore store;
        store.setEntries({entry("127.0.0.1", "6800", "255.255.255.0", "127.0.0.254", "", QStringLiteral("大厅")),
                          entry("127.0.0.2", "6801", "255.0.0.0", "127.0.0.1", "00-11", "")});
    }
    QCOMPARE(m_env->readFile("ipmanager"),
             QByteArray(R"({"items":[)"
                        R"({"alias":"大厅","gateway":"127.0.0.254","ip":"127.0.0.1","mac":"","port":"6800","subnet":"255.255.255.0"},)"
                        R"({"alias":"","gateway":"127.0.0.1","ip":"127.0.0.2","mac":"00-11","port":"6801","subnet":"255.0.0.0"}]})"));
}

void TestDeviceStore::roundTrip_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QList<DeviceEntry>>("entries");
    QTest::addColumn<QByteArray>("written");

    const QByteArray one = R"({"alias":"A","gateway":"g","ip":"i","mac":"m","port":"p","subnet":"s"})";
    const DeviceEntry oneEntry = entry("i", "p", "s", "g", "m", "A");

    QTest::newRow("unchanged")
        << (R"({"items":[)" + one + "]}") << QList<DeviceEntry> {oneEntry}
        << (R"({"items":[)" + one + "]}");
    QTest::newRow("pretty input comes back compact")
        << QByteArray("{\n  \"items\": [\n    {\"ip\": \"i\", \"port\": \"p\", \"subnet\": \"s\",\n"
                      "     \"gateway\": \"g\", \"mac\": \"m\", \"alias\": \"A\"}\n  ]\n}\n")
        << QList<DeviceEntry> {oneEntry} << (R"({"items":[)" + one + "]}");
    QTest::newRow("other top-level members carried through")
        << (R"({"zone":{"b":1},"items":[)" + one + R"(],"about":"lab"})")
        << QList<DeviceEntry> {oneEntry}
        << (R"({"about":"lab","items":[)" + one + R"(],"zone":{"b":1}})");
    QTest::newRow("extra element members dropped")
        << QByteArray(R"({"items":[{"alias":"A","extra":true,"gateway":"g","ip":"i","mac":"m","port":"p","subnet":"s"}]})")
        << QList<DeviceEntry> {oneEntry} << (R"({"items":[)" + one + "]}");
    QTest::newRow("missing members read empty")
        << QByteArray(R"({"items":[{"ip":"i"},{}]})")
        << QList<DeviceEntry> {entry("i", "", "", "", "", ""), DeviceEntry()}
        << QByteArray(R"({"items":[{"alias":"","gateway":"","ip":"i","mac":"","port":"","subnet":""},)"
                      R"({"alias":"","gateway":"","ip":"","mac":"","port":"","subnet":""}]})");
    QTest::newRow("no items member")
        << QByteArray(R"({"owner":"x"})") << QList<DeviceEntry>()
        << QByteArray(R"({"items":[],"owner":"x"})");
}

void TestDeviceStore::roundTrip()
{
    QFETCH(QByteArray, file);
    QFETCH(QList<DeviceEntry>, entries);
    QFETCH(QByteArray, written);

    m_env->writeFile("ipmanager", file);
    {
        DeviceStore store;
        QCOMPARE(store.entries(), entries);
    }
    QCOMPARE(m_env->readFile("ipmanager"), written);
    QVERIFY(!QFile::exists(m_env->filePath("ipmanager.bad")));
}

void TestDeviceStore::unreadableContentIsKept_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QList<DeviceEntry>>("entries");
    QTest::addColumn<QByteArray>("written");

    QTest::newRow("typo")
        << QByteArray(R"({"items":[{"ip":"127.0.0.1",}]})") << QList<DeviceEntry>()
        << QByteArray(R"({"items":[]})");
    QTest::newRow("truncated")
        << QByteArray(R"({"items":[{"ip":"127.0.0.1","port":"68)") << QList<DeviceEntry>()
        << QByteArray(R"({"items":[]})");
    QTest::newRow("top level is an array")
        << QByteArray(R"([{"ip":"127.0.0.1"}])") << QList<DeviceEntry>()
        << QByteArray(R"({"items":[]})");
    QTest::newRow("items is not an array")
        << QByteArray(R"({"items":{"ip":"127.0.0.1"}})") << QList<DeviceEntry>()
        << QByteArray(R"({"items":[]})");
    QTest::newRow("numeric port reads empty")
        << QByteArray(R"({"items":[{"alias":"","gateway":"g","ip":"i","mac":"","port":6800,"subnet":"s"}]})")
        << QList<DeviceEntry> {entry("i", "", "s", "g", "", "")}
        << QByteArray(R"({"items":[{"alias":"","gateway":"g","ip":"i","mac":"","port":"","subnet":"s"}]})");
    QTest::newRow("element that is no object")
        << QByteArray(R"({"items":["127.0.0.1"]})") << QList<DeviceEntry> {DeviceEntry()}
        << QByteArray(R"({"items":[{"alias":"","gateway":"","ip":"","mac":"","port":"","subnet":""}]})");
}

void TestDeviceStore::unreadableContentIsKept()
{
    QFETCH(QByteArray, file);
    QFETCH(QList<DeviceEntry>, entries);
    QFETCH(QByteArray, written);

    m_env->writeFile("ipmanager", file);
    {
        DeviceStore store;
        QCOMPARE(store.entries(), entries);
    }
    QCOMPARE(m_env->readFile("ipmanager"), written);
    QCOMPARE(m_env->readFile("ipmanager.bad"), file);
}

void TestDeviceStore::fileLivesInTheWorkingDirectory()
{
    QDir(m_env->path()).mkdir("elsewhere");
    QDir::setCurrent(m_env->filePath("elsewhere"));
    {
        DeviceStore store;
        store.setEntries({entry("127.0.0.1", "1", "", "", "", "")});
    }
    QVERIFY(QFile::exists(m_env->filePath("elsewhere/ipmanager")));
    QVERIFY(!QFile::exists(m_env->filePath("ipmanager")));
}

QTEST_GUILESS_MAIN(TestDeviceStore)
#include "tst_devicestore.moc"
