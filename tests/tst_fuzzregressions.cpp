// Inputs the fuzz targets (fuzz/) found mishandled, kept as plain tests so the
// ordinary and sanitizer builds guard them too.
#include "commandframer.h"

#include <QtTest>

class TestFuzzRegressions : public QObject
{
    Q_OBJECT

private slots:
    void framerBlanksAtTheEnd_data();
    void framerBlanksAtTheEnd();
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
    for (char c : stream)
        pieces += split.feed(QByteArray(1, c));
    pieces += split.flush();
    QCOMPARE(frameTexts(pieces), frames);
}

QTEST_GUILESS_MAIN(TestFuzzRegressions)
#include "tst_fuzzregressions.moc"
