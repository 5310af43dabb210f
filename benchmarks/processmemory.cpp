#include "processmemory.h"

#include <QFile>

qint64 ProcessMemory::residentBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    // The line reads "VmRSS:     12345 kB".
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
    }
    return 0;
}

double ProcessMemory::residentMB()
{
    return residentBytes() / 1e6;
}
