#pragma once

#include <QByteArray>
#include <QString>

// The hex form of the debug console: upper-case byte pairs separated by one
// blank ("31 44 2E"). Pure functions, as the parser reads whatever is typed.
class HexText
{
public:
    static QString toHexText(const QByteArray &bytes);
    // Reads blank-separated bytes, each one or two hex digits with an optional
    // "0x". A token that is no such byte makes the whole text invalid: bytes
    // is left empty and badToken names the first one.
    static bool fromHexText(const QString &text, QByteArray *bytes, QString *badToken = nullptr);
};
