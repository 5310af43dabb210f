#pragma once

#include <QByteArray>
#include <QVector>

#include <condition_variable>
#include <cstdint>
#include <mutex>

// What a loopback peer saw, shared between its reading thread and the
// benchmark: every byte, and the steady-clock time (ns) at which each command
// was complete, i.e. when its terminator arrived.
class ArrivalLog
{
public:
    // keepTimes false: only count, for runs of a million commands.
    explicit ArrivalLog(char terminator = '.', bool keepTimes = true);

    // Called by the reading thread with the time it woke up for these bytes.
    void add(const QByteArray &bytes, std::int64_t arrivedNs);
    void clear();

    int commandCount() const;
    QVector<std::int64_t> arrivals() const;
    qint64 byteCount() const;
    QByteArray lastBytes(int count) const;
    // Waits until at least count commands are complete; false on timeout.
    bool waitForCommands(int count, int timeoutMs) const;

    static std::int64_t nowNs();

private:
    const char m_terminator;
    const bool m_keepTimes;
    int m_count = 0;
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_arrived;
    QVector<std::int64_t> m_arrivals;
    qint64 m_bytes = 0;
    // Only the tail is kept, so a million commands cost no memory here.
    QByteArray m_tail;
};
