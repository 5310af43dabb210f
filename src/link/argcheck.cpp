#include "link/argcheck.h"

#include <QHostAddress>
#include <QRegularExpression>
#include <QStringList>

namespace {

constexpr int MaxOctet = 255;
constexpr int MaxPort = 65535;

} // namespace

bool ArgCheck::number(const QString &text, int min, int max, int *value)
{
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    bool ok = false;
    const int read = text.toInt(&ok);
    if (!ok || read < min || read > max)
        return false;
    *value = read;
    return true;
}

bool ArgCheck::dottedQuad(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    int octet = 0;
    for (const QString &part : parts) {
        if (part.size() > 3 || !number(part, 0, MaxOctet, &octet))
            return false;
    }
    return true;
}

// Digits and dots alone are meant as an IPv4 address, never as a name.
bool ArgCheck::host(const QString &text)
{
    static const QRegularExpression digitsAndDots(QStringLiteral("^[0-9.]+$"));
    static const QRegularExpression name(
        QStringLiteral("^[A-Za-z0-9]([A-Za-z0-9-]*[A-Za-z0-9])?(\\.[A-Za-z0-9]([A-Za-z0-9-]*[A-Za-z0-9])?)*$"));
    if (digitsAndDots.match(text).hasMatch())
        return dottedQuad(text);
    if (text.contains(QLatin1Char(':')))
        return QHostAddress(text).protocol() == QAbstractSocket::IPv6Protocol;
    return name.match(text).hasMatch();
}

bool ArgCheck::port(const QString &text)
{
    int value = 0;
    return number(text, 1, MaxPort, &value);
}
