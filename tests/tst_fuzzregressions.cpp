// Inputs the fuzz targets (fuzz/) found mishandled, kept as plain tests so the
// ordinary and sanitizer builds guard them too.
#include "commandframer.h"
#include "config/devicestore.h"
#include "support/testenv.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

#include <memory>

class TestFuzzRegressions : public QObject
{
    Q_OBJECT

private slots:
    void framerBlanksAtTheEnd_data();
    void framerBlanksAtTheEnd();
    void addressBookKeptByteForByte_data();
    void addressBookKeptByteForByte();
    void addressBookNameWithByteOrderMark();
    void addressBookLargeNumberMember();
    void addressBookNamesWithNul();
};

namespace {

QList<QByteArray> frameTexts(const QList<CommandFramer::Frame> &frames)
{
    QList<QByteArray> texts;
    for (const CommandFramer::Frame &frame : frames)
        texts << frame.bytes;
    return texts;
}

} // namespace

// A vertical tab or form feed is garbage in the middle of the stream; at its end
// it was dropped without a word, so the same bytes were framed differently
// depending on whether the link went quiet right after them.
void TestFuzzRegressions::framerBlanksAtTheEnd_data()
{
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<QList<QByteArray>>("frames");
    QTest::newRow("found: command then vertical tab")
        << QByteArray("\x00\x0c`.\x0b", 5) << QList<QByteArray> { QByteArray("\x00\x0c`.", 4), "\x0b" };
    QTest::newRow("form feed alone") << QByteArray("\x0c") << QList<QByteArray> { "\x0c" };
    QTest::newRow("scene command, vertical tab")
        << QByteArray("1SAVE2\x0b") << QList<QByteArray> { "1SAVE2", "\x0b" };
    QTest::newRow("real blanks still vanish")
        << QByteArray(" 1D3V5. \t\r\n") << QList<QByteArray> { "1D3V5." };
    QTest::newRow("scene command, then blanks") << QByteArray("1CALL3 \r\n") << QList<QByteArray> { "1CALL3" };
}

void TestFuzzRegressions::framerBlanksAtTheEnd()
{
    QFETCH(QByteArray, stream);
    QFETCH(QList<QByteArray>, frames);

    CommandFramer whole;
    QList<CommandFramer::Frame> result = whole.feed(stream);
    result += whole.flush();
    QCOMPARE(frameTexts(result), frames);

    // Byte by byte, as a slow link delivers it: the same commands.
    CommandFramer split;
    QList<CommandFramer::Frame> pieces;
    for (int i = 0; i < stream.size(); ++i)
        pieces += split.feed(stream.mid(i, 1));
    pieces += split.flush();
    QCOMPARE(frameTexts(pieces), frames);
}

// The address book was read in text mode, which drops every CR, and that text
// was what went into "ipmanager.bad": an unreadable file with CR bytes (one
// saved on Windows, say) was not kept as it was.
void TestFuzzRegressions::addressBookKeptByteForByte_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("entries");
    QTest::newRow("found: lone CR in garbage") << QByteArray("[[[items\"f\r[]") << 0;
    QTest::newRow("CRLF, cut short") << QByteArray("{\r\n  \"items\": [\r\n    {\"ip\": \"1.2.3.4\"") << 0;
    QTest::newRow("CRLF, numeric port") << QByteArray("{\r\n\"items\":[{\"ip\":\"1.2.3.4\",\"port\":6800}]\r\n}") << 1;
}

void TestFuzzRegressions::addressBookKeptByteForByte()
{
    QFETCH(QByteArray, file);
    QFETCH(int, entries);

    TestEnv env;
    env.writeFile(QStringLiteral("ipmanager"), file);
    {
        DeviceStore store;
        QCOMPARE(store.entries().size(), entries);
    }
    QCOMPARE(env.readFile(QStringLiteral("ipmanager.bad")), file);
}

// Qt's JSON parser drops a U+FEFF inside a member name yet files the member
// where lookups miss it: "items" read as absent, the list came up empty and
// the next exit wrote "items" a second time beside the old one.
void TestFuzzRegressions::addressBookNameWithByteOrderMark()
{
    TestEnv env;
    env.writeFile(QStringLiteral("ipmanager"),
                  "{\"version\":2,\"\xef\xbb\xbfitems\":[{\"\xef\xbb\xbfip\":\"127.0.0.1\",\"port\":\"6800\"}]}");
    {
        DeviceStore store;
        const QList<DeviceEntry> entries = store.entries();
        QCOMPARE(entries.size(), 1);
        QCOMPARE(entries.first().ip, QStringLiteral("127.0.0.1"));
        QCOMPARE(entries.first().port, QStringLiteral("6800"));
    }
    QCOMPARE(env.readFile(QStringLiteral("ipmanager")),
             QByteArray("{\"items\":[{\"alias\":\"\",\"gateway\":\"\",\"ip\":\"127.0.0.1\",\"mac\":\"\","
                        "\"port\":\"6800\",\"subnet\":\"\"}],\"version\":2}"));
}

// A member the store does not use, holding an integer beyond double precision
// (found by the fuzzer): it is carried, at the precision JSON numbers have in
// Qt; the entries are untouched, nothing is set aside as unreadable, and the
// next start writes the same bytes again.
void TestFuzzRegressions::addressBookLargeNumberMember()
{
    TestEnv env;
    env.writeFile(QStringLiteral("ipmanager"),
                  "{\"v\":211111111111111111,\"items\":[{\"ip\":\"127.0.0.1\",\"port\":\"6800\"}]}");
    {
        DeviceStore store;
        QCOMPARE(store.entries().size(), 1);
    }
    QVERIFY(!QFile::exists(env.filePath(QStringLiteral("ipmanager.bad"))));
    const QByteArray written = env.readFile(QStringLiteral("ipmanager"));
    const QJsonObject root = QJsonDocument::fromJson(written).object();
    QCOMPARE(root.value(QStringLiteral("v")).toDouble(), 211111111111111111.0);
    QCOMPARE(root.value(QStringLiteral("items")).toArray().size(), 1);
    {
        DeviceStore store;
        QCOMPARE(store.entries().first().ip, QStringLiteral("127.0.0.1"));
    }
    QCOMPARE(env.readFile(QStringLiteral("ipmanager")), written);
}

// Member names with a raw NUL inside a member the store only carries (found by
// the fuzzer): Qt's parser filed them in another order than a written file
// reads back with, so every start rewrote the file differently.
void TestFuzzRegressions::addressBookNamesWithNul()
{
    TestEnv env;
    static const char bytes[] = "{\"items\":[],\"\":[{\"ok\0/s\":[],\"ok\0a\":true}]}";
    const QByteArray file(bytes, sizeof bytes - 1);
    env.writeFile(QStringLiteral("ipmanager"), file);
    {
        DeviceStore store;
        QVERIFY(store.entries().isEmpty());
    }
    const QByteArray written = env.readFile(QStringLiteral("ipmanager"));
    QCOMPARE(written, QByteArray(R"({"":[{"ok\u0000/s":[],"ok\u0000a":true}],"items":[]})"));
    {
        DeviceStore store;
    }
    QCOMPARE(env.readFile(QStringLiteral("ipmanager")), written);
}

QTEST_GUILESS_MAIN(TestFuzzRegressions)
#include "tst_fuzzregressions.moc"
