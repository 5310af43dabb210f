#include "ptyarrivalpeer.h"

namespace {

constexpr int PollMs = 50;

} // namespace

PtyArrivalPeer::PtyArrivalPeer(ArrivalLog &log)
    : m_log(log)
{
}

PtyArrivalPeer::~PtyArrivalPeer()
{
    stop();
}

bool PtyArrivalPeer::isValid() const
{
    return m_pty.isValid();
}

QString PtyArrivalPeer::portName() const
{
    return m_pty.slavePath();
}

void PtyArrivalPeer::stop()
{
    m_stop = true;
    wait();
}

void PtyArrivalPeer::run()
{
    while (!m_stop) {
        const QByteArray bytes = m_pty.waitAndRead(PollMs);
        if (!bytes.isEmpty())
            m_log.add(bytes, ArrivalLog::nowNs());
    }
}
