#pragma once

#include "config/deviceentry.h"

#include <QList>
#include <QString>

// The window's address book as matrixctl reads it: strictly, as a script
// must not reach the wrong device through a book it misread, and never
// written.
class CtlBook
{
public:
    // False, with errorText(), when the file is missing, unreadable or no book.
    bool read(const QString &path);
    QList<DeviceEntry> entries() const;
    // The one entry with this alias; false when there is none or more than one.
    bool find(const QString &alias, DeviceEntry *entry);
    QString errorText() const;

private:
    bool fail(const QString &text);

    QString m_path;
    QList<DeviceEntry> m_entries;
    QString m_error;
};
