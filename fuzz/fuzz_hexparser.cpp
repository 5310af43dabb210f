#include "fuzzharness.h"

#include "link/hextext.h"

void fuzzInput(const QByteArray &input)
{
    // Typed text from the input as UTF-8 and as UTF-16 (odd spaces, unpaired surrogates).
    const QString wide = QString::fromUtf16(reinterpret_cast<const char16_t *>(input.constData()), input.size() / 2);
    for (const QString &text : { QString::fromUtf8(input), wide }) {
        const QByteArray parsed = HexText::fromHexText(text);
        const int tokens = text.simplified().isEmpty() ? 0 : text.simplified().count(QLatin1Char(' ')) + 1;
        FUZZ_CHECK(parsed.size() <= tokens && HexText::fromHexText(HexText::toHexText(parsed)) == parsed, text);
    }
    const QString shown = HexText::toHexText(input);
    FUZZ_CHECK(shown.size() == qMax(0, input.size() * 3 - 1) && shown == shown.toUpper()
                   && !shown.startsWith(QLatin1Char(' ')) && !shown.endsWith(QLatin1Char(' '))
                   && HexText::fromHexText(shown) == input,
               shown.left(40));
}
