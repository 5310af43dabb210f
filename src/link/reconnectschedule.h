#pragma once

// When to try a dropped link again: at once, then backing off to every
// MaxDelayMs, so a matrix that is power-cycled is back within seconds while
// one that is gone for good costs a try every few seconds. The window,
// matrixctl and the gateway keep their links by the same rule.
class ReconnectSchedule
{
public:
    static constexpr int FirstBackoffMs = 500;
    static constexpr int MaxDelayMs = 5000;

    // The wait before the next try: 0 for the first after a drop.
    int nextDelayMs();
    // Tries made since the last reset(); the first one is worth a line in a log.
    int attempts() const { return m_attempts; }
    // The link is back, or the operator ended it: the next drop starts afresh.
    void reset() { m_attempts = 0; }

private:
    int m_attempts = 0;
};
