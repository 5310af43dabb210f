#pragma once

#include <QByteArray>
#include <QString>

// Where a stored file that could not be understood is kept before anything
// writes over it: beside it, as FILE.bad.
QString damagedCopyPath(const QString &file);

// Keeps content (the file as it was read) as its damaged copy, replacing an
// older one whole; false when the copy could not be written.
bool keepDamagedCopy(const QString &file, const QByteArray &content);

// The same, and tells the console so: kept is the notice when the copy was
// written, notKept when it was not, each with %1 for the file and %2 for the
// copy (marked with QT_TRANSLATE_NOOP("FileNotices", ...)).
void keepDamagedCopy(const QString &file, const QByteArray &content, const char *kept, const char *notKept);
// The same with the file as it is on disk now.
void keepDamagedCopy(const QString &file, const char *kept, const char *notKept);
// The same for a file of names (channels, scenes), whose lost names take their defaults.
void keepDamagedNameFile(const QString &file);
