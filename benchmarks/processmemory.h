#pragma once

#include <QtGlobal>

// The resident memory of this process, as the kernel counts it.
class ProcessMemory
{
public:
    // Bytes; 0 where /proc is not there to ask.
    static qint64 residentBytes();
    // The same for another process of ours (the gateway under measure).
    static qint64 residentBytes(qint64 pid);
    static double residentMB();
};
