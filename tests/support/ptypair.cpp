#include "support/ptypair.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

PtyPair::PtyPair()
{
    char name[256] = {};
    if (openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0)
        return;
    m_slavePath = QString::fromLocal8Bit(name);
    termios raw {};
    tcgetattr(m_slave, &raw);
    cfmakeraw(&raw);
    tcsetattr(m_slave, TCSANOW, &raw);
    tcgetattr(m_master, &raw);
    cfmakeraw(&raw);
    tcsetattr(m_master, TCSANOW, &raw);
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
}

PtyPair::~PtyPair()
{
    closeMaster();
    if (m_slave >= 0)
        ::close(m_slave);
}

bool PtyPair::isValid() const
{
    return m_master >= 0 && !m_slavePath.isEmpty();
}

QString PtyPair::slavePath() const
{
    return m_slavePath;
}

QByteArray PtyPair::readAvailable()
{
    QByteArray out;
    if (m_master < 0)
        return out;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n <= 0)
            break;
        out.append(buffer, static_cast<int>(n));
    }
    return out;
}

QByteArray PtyPair::readAtLeast(int count, int timeoutMs)
{
    QByteArray out;
    QElapsedTimer timer;
    timer.start();
    while (out.size() < count && timer.elapsed() < timeoutMs) {
        out += readAvailable();
        if (out.size() >= count)
            break;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(2);
    }
    return out;
}

QByteArray PtyPair::waitAndRead(int timeoutMs)
{
    if (m_master < 0)
        return QByteArray();
    pollfd watched {};
    watched.fd = m_master;
    watched.events = POLLIN;
    if (::poll(&watched, 1, timeoutMs) <= 0)
        return QByteArray();
    return readAvailable();
}

void PtyPair::write(const QByteArray &bytes)
{
    if (m_master >= 0 && !bytes.isEmpty()) {
        const ssize_t written = ::write(m_master, bytes.constData(), static_cast<size_t>(bytes.size()));
        Q_UNUSED(written)
    }
}

void PtyPair::closeMaster()
{
    if (m_master >= 0) {
        ::close(m_master);
        m_master = -1;
    }
}
