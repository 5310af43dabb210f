// The debug console's hex form: whatever the operator types goes through
// fromHexText, and every byte string survives toHexText and back.
#include "fuzzworkdir.h"

#include "panels/hextext.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    initFuzzing(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<int>(size));

    // As typed: the field holds Unicode text, here from the input as UTF-8
    // and as UTF-16 (which reaches the odd spaces and unpaired surrogates).
    const QString typed = QString::fromUtf8(bytes);
    std::vector<char16_t> units(size / 2);
    if (!units.empty())
        std::memcpy(units.data(), data, units.size() * sizeof(char16_t));
    const QString wide = QString::fromUtf16(units.data(), static_cast<int>(units.size()));
    for (const QString &text : { typed, wide }) {
        const QByteArray parsed = HexText::fromHexText(text);
        const int tokens = text.simplified().isEmpty() ? 0 : text.simplified().count(QLatin1Char(' ')) + 1;
        FUZZ_CHECK(parsed.size() <= tokens, QStringLiteral("%1 bytes from %2 tokens").arg(parsed.size()).arg(tokens));
        fuzzFeature(static_cast<unsigned>(qMin(parsed.size(), 31) * 2 + (parsed.size() == tokens ? 1 : 0)));
        // What the parser gives back, shown as hex and parsed again, is the same.
        FUZZ_CHECK(HexText::fromHexText(HexText::toHexText(parsed)) == parsed, QString());
    }

    // Any bytes, shown and read back.
    const QString shown = HexText::toHexText(bytes);
    FUZZ_CHECK(shown.size() == (bytes.isEmpty() ? 0 : bytes.size() * 3 - 1), QString::number(shown.size()));
    FUZZ_CHECK(shown == shown.toUpper() && !shown.startsWith(QLatin1Char(' ')) && !shown.endsWith(QLatin1Char(' ')),
               shown.left(40));
    FUZZ_CHECK(HexText::fromHexText(shown) == bytes, shown.left(40));
    return 0;
}
