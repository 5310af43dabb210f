#include "fuzzharness.h"

#include "link/hextext.h"

void fuzzInput(const QByteArray &input)
{
    // Typed text from the input as UTF-8 and as UTF-16 (odd spaces, unpaired surrogates).
    const QString wide = QString::fromUtf16(reinterpret_cast<const char16_t *>(input.constData()), input.size() / 2);
    for (const QString &text : { QString::fromUtf8(input), wide }) {
        QByteArray parsed;
        QString bad;
        const bool ok = HexText::fromHexText(text, &parsed, &bad);
        const int tokens = text.simplified().isEmpty() ? 0 : text.simplified().count(QLatin1Char(' ')) + 1;
        QByteArray again;
        FUZZ_CHECK(ok ? parsed.size() == tokens && HexText::fromHexText(HexText::toHexText(parsed), &again) && again == parsed
                      : parsed.isEmpty() && text.simplified().split(QLatin1Char(' ')).contains(bad),
                   text);
    }
    const QString shown = HexText::toHexText(input);
    QByteArray back;
    FUZZ_CHECK(shown.size() == qMax(0, input.size() * 3 - 1) && shown == shown.toUpper()
                   && !shown.startsWith(QLatin1Char(' ')) && !shown.endsWith(QLatin1Char(' '))
                   && HexText::fromHexText(shown, &back) && back == input,
               shown.left(40));
}
