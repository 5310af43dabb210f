#include "config/damagedcopy.h"

#include "config/filenotices.h"

#include <QFile>
#include <QSaveFile>

QString damagedCopyPath(const QString &file)
{
    return file + QStringLiteral(".bad");
}

bool keepDamagedCopy(const QString &file, const QByteArray &content)
{
    QSaveFile copy(damagedCopyPath(file));
    return copy.open(QIODevice::WriteOnly) && copy.write(content) == content.size() && copy.commit();
}

void keepDamagedCopy(const QString &file, const QByteArray &content, const char *kept, const char *notKept)
{
    FileNotices::instance().report(keepDamagedCopy(file, content) ? kept : notKept, {file, damagedCopyPath(file)});
}

void keepDamagedCopy(const QString &file, const char *kept, const char *notKept)
{
    QFile original(file);
    if (original.open(QIODevice::ReadOnly))
        keepDamagedCopy(file, original.readAll(), kept, notKept);
    else
        FileNotices::instance().report(notKept, {file, damagedCopyPath(file)});
}

void keepDamagedNameFile(const QString &file)
{
    keepDamagedCopy(file, QT_TRANSLATE_NOOP("FileNotices", "%1 is damaged; names it lost take their defaults; the file is kept as %2"),
                    QT_TRANSLATE_NOOP("FileNotices", "%1 is damaged; names it lost take their defaults; the file could not be kept as %2"));
}
