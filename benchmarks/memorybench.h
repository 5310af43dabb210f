#pragma once

#include <QString>

class BenchTable;

// Resident memory growth over a million commands logged by the debug console,
// in a process of its own (a fresh MainWindow) so that nothing else counts.
class MemoryBench
{
public:
    explicit MemoryBench(int commands);
    void run(BenchTable &table);

    // The child side: prints "memory <before bytes> <after bytes> <seconds>".
    static int runChild(int argc, char **argv, int commands);

private:
    int m_commands;
};
