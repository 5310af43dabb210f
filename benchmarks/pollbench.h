#pragma once

class BenchTable;
class WindowDriver;

// Poll switching at 100 ms for a while, over TCP: how many commands arrive and
// how far their spacing strays from the interval.
class PollBench
{
public:
    PollBench(WindowDriver &driver, int seconds, int channels);
    void run(BenchTable &table);

private:
    WindowDriver &m_driver;
    int m_seconds;
    int m_channels;
};
