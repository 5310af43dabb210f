#pragma once

#include <QByteArray>
#include <QString>

// The hex form of the debug console: upper-case byte pairs separated by one
// blank ("31 44 2E"). Pure functions, as the parser reads whatever is typed.
class HexText
{
public:
    static QString toHexText(const QByteArray &bytes);
    // Reads blank-separated hex numbers of any length, each with an optional
    // "0x", and keeps the low byte of each; a token that is no hex number is
    // dropped without notice.
    static QByteArray fromHexText(const QString &text);
};
