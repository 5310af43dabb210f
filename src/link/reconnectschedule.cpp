#include "link/reconnectschedule.h"

#include <algorithm>

int ReconnectSchedule::nextDelayMs()
{
    const int attempt = m_attempts++;
    if (attempt == 0)
        return 0;
    // 500, 1000, 2000, 4000, then the cap; the shift stops before it could overflow.
    return std::min(MaxDelayMs, FirstBackoffMs << std::min(attempt - 1, 8));
}
