#include "arrivallog.h"

#include <chrono>

namespace {

constexpr int TailSize = 256;

} // namespace

ArrivalLog::ArrivalLog(char terminator, bool keepTimes)
    : m_terminator(terminator)
    , m_keepTimes(keepTimes)
{
}

std::int64_t ArrivalLog::nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void ArrivalLog::add(const QByteArray &bytes, std::int64_t arrivedNs)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bytes += bytes.size();
        m_tail += bytes;
        if (m_tail.size() > TailSize)
            m_tail = m_tail.right(TailSize);
        for (char c : bytes) {
            if (c != m_terminator)
                continue;
            ++m_count;
            if (m_keepTimes)
                m_arrivals.append(arrivedNs);
        }
    }
    m_arrived.notify_all();
}

void ArrivalLog::clear()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_arrivals.clear();
    m_count = 0;
    m_bytes = 0;
    m_tail.clear();
}

int ArrivalLog::commandCount() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_count;
}

QVector<std::int64_t> ArrivalLog::arrivals() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_arrivals;
}

qint64 ArrivalLog::byteCount() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_bytes;
}

QByteArray ArrivalLog::lastBytes(int count) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_tail.right(count);
}

bool ArrivalLog::waitForCommands(int count, int timeoutMs) const
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_arrived.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                              [&] { return m_count >= count; });
}
