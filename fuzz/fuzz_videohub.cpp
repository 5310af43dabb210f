#include "fuzzharness.h"

#include "videohubparser.h"

#include <QRegularExpression>

namespace {

QString describe(const QList<VideohubParser::Block> &blocks)
{
    QString out;
    for (const VideohubParser::Block &block : blocks)
        out += block.header + QLatin1Char('\n') + block.lines.join(QLatin1Char('\n')) + QStringLiteral("\n\n");
    return out;
}

} // namespace

void fuzzInput(const QByteArray &input)
{
    // The first byte picks a chunk size: bytes may be split anywhere, the blocks may not change.
    const int step = input.isEmpty() ? 1 : static_cast<unsigned char>(input.at(0)) % 7 + 1;
    VideohubParser whole;
    VideohubParser chunked;
    const QList<VideohubParser::Block> blocks = whole.feed(input);
    QList<VideohubParser::Block> pieces;
    for (int i = 0; i < input.size(); i += step)
        pieces += chunked.feed(input.mid(i, step));
    FUZZ_CHECK(whole.error() == chunked.error(), whole.errorText() + " / " + chunked.errorText());
    if (whole.error() == VideohubParser::Error::None)
        FUZZ_CHECK(describe(blocks) == describe(pieces), describe(blocks));

    static const QRegularExpression header(QStringLiteral("^[A-Z]+( [A-Z]+)*$"));
    for (const VideohubParser::Block &block : blocks) {
        FUZZ_CHECK(header.match(block.header).hasMatch(), block.header);
        FUZZ_CHECK(block.lines.size() <= VideohubParser::MaxBlockLines);
        for (const QString &line : block.lines) {
            FUZZ_CHECK(!line.contains(QLatin1Char('\n')) && !line.contains(QLatin1Char('\r')), line);
            FUZZ_CHECK(line.toUtf8().size() <= VideohubParser::MaxLineBytes, line);
            FUZZ_CHECK(!line.trimmed().isEmpty(), line);
        }
    }
    // A client past an error is dropped: nothing it sends later counts.
    if (whole.error() != VideohubParser::Error::None)
        FUZZ_CHECK(whole.feed("\n\nPING:\n\n").isEmpty());
}
