#pragma once

class BenchTable;
class WindowDriver;

// From a click on "Switch" to the last byte of the command arriving at the
// device end of the link, over TCP on 127.0.0.1 and over a pseudo-terminal.
class CommandPathBench
{
public:
    CommandPathBench(WindowDriver &driver, int commands);
    void run(BenchTable &table);

private:
    // Latencies in ms of m_commands clicks over the link now open.
    bool measure(const char *linkName, class ArrivalLog &log, BenchTable &table);

    WindowDriver &m_driver;
    int m_commands;
};
