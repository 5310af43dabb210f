#pragma once

#include <QByteArray>
#include <QString>

// The bytes a command text goes to the wire as, for the window and matrixctl
// alike: the system's 8-bit encoding, which leaves the ASCII of every matrix
// command as it is.
class WireText
{
public:
    static QByteArray bytes(const QString &text);
};
