#include "link/hextext.h"

#include <QStringList>

namespace {

int hexDigit(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

// One byte is one or two digits: a longer number is a typo, not a byte to
// cut down to size.
bool readByte(QStringView token, char *byte)
{
    if (token.size() > 2 && token.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        token = token.mid(2);
    if (token.isEmpty() || token.size() > 2)
        return false;
    int value = 0;
    for (const QChar c : token) {
        const int digit = hexDigit(c);
        if (digit < 0)
            return false;
        value = value * 16 + digit;
    }
    *byte = static_cast<char>(value);
    return true;
}

} // namespace

QString HexText::toHexText(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

bool HexText::fromHexText(const QString &text, QByteArray *bytes, QString *badToken)
{
    bytes->clear();
    const QString simple = text.simplified();
    if (simple.isEmpty())
        return true;
    const QStringList tokens = simple.split(QLatin1Char(' '));
    for (const QString &token : tokens) {
        char byte = 0;
        if (!readByte(token, &byte)) {
            bytes->clear();
            if (badToken)
                *badToken = token;
            return false;
        }
        bytes->append(byte);
    }
    return true;
}
