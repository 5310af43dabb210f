#include "support/ptypair.h"

#include <QTest>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

PtyPair::PtyPair()
{
    char name[256] = {};
    termios raw{};
    cfmakeraw(&raw);
    if (openpty(&m_master, &m_slave, name, &raw, nullptr) != 0) {
        m_master = -1;
        return;
    }
    m_slavePath = QString::fromLocal8Bit(name);
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
}

PtyPair::~PtyPair()
{
    closeMaster();
    if (m_slave >= 0)
        ::close(m_slave);
}

QByteArray PtyPair::readAtLeast(int count, int timeoutMs)
{
    QByteArray out;
    if (!QTest::qWaitFor([&] { return (out += waitAndRead(0)).size() >= count; }, timeoutMs))
        qWarning("pty: %d of %d bytes", int(out.size()), count);
    return out;
}

QByteArray PtyPair::waitAndRead(int timeoutMs)
{
    QByteArray out;
    pollfd watched{m_master, POLLIN, 0};
    if (m_master < 0 || ::poll(&watched, 1, timeoutMs) <= 0)
        return out;
    char buffer[4096];
    for (ssize_t n; (n = ::read(m_master, buffer, sizeof buffer)) > 0;)
        out.append(buffer, static_cast<int>(n));
    return out;
}

void PtyPair::write(const QByteArray &bytes)
{
    if (m_master >= 0 && !bytes.isEmpty() && ::write(m_master, bytes.constData(), size_t(bytes.size())) < 0)
        qWarning("pty write failed");
}

void PtyPair::closeMaster()
{
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}
