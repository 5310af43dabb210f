#include "processmemory.h"

#include <QFile>

qint64 ProcessMemory::residentBytes()
{
    return residentBytes(0);
}

qint64 ProcessMemory::residentBytes(qint64 pid)
{
    QFile status(pid > 0 ? QStringLiteral("/proc/%1/status").arg(pid) : QStringLiteral("/proc/self/status"));
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
