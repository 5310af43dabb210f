#include "ptytransport.h"

#include "simulator.h"
#include "streamsession.h"

#include <QSocketNotifier>
#include <QTimer>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>
#if defined(Q_OS_MACOS)
#include <util.h>
#else
#include <pty.h>
#endif
#endif

namespace {

constexpr int ReadChunk = 4096;
// After a read error the master is left alone for this long before trying again.
constexpr int RetryMs = 200;

} // namespace

PtyTransport::PtyTransport(Simulator &simulator, QObject *parent)
    : QObject(parent)
    , m_simulator(simulator)
{
}

PtyTransport::~PtyTransport()
{
    delete m_notifier;
#ifdef Q_OS_UNIX
    if (m_master >= 0)
        ::close(m_master);
    if (m_slave >= 0)
        ::close(m_slave);
#endif
}

bool PtyTransport::open()
{
#ifdef Q_OS_UNIX
    char name[256] = {};
    if (::openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) {
        m_error = QStringLiteral("cannot open a pseudo-terminal: ") + QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    m_slavePath = QString::fromLocal8Bit(name);
    for (int fd : { m_master, m_slave }) {
        termios raw {};
        if (::tcgetattr(fd, &raw) == 0) {
            ::cfmakeraw(&raw);
            ::tcsetattr(fd, TCSANOW, &raw);
        }
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);

    m_session = m_simulator.createSession(
        QStringLiteral("pty"), [this](const QByteArray &bytes) { return writeMaster(bytes); }, this);
    m_notifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &PtyTransport::readMaster);
    m_retry = new QTimer(this);
    m_retry->setSingleShot(true);
    m_retry->setInterval(RetryMs);
    connect(m_retry, &QTimer::timeout, m_notifier, [this] { m_notifier->setEnabled(true); });
    return true;
#else
    m_error = QStringLiteral("pseudo-terminals are not available on this system");
    return false;
#endif
}

QString PtyTransport::errorString() const
{
    return m_error;
}

QString PtyTransport::slavePath() const
{
    return m_slavePath;
}

void PtyTransport::readMaster()
{
#ifdef Q_OS_UNIX
    char buffer[ReadChunk];
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0) {
            m_session->feed(QByteArray(buffer, static_cast<int>(n)));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN)
            return;
        // A hang-up or error would wake us without end: pause the notifier for a while.
        m_notifier->setEnabled(false);
        m_retry->start();
        return;
    }
#endif
}

bool PtyTransport::writeMaster(const QByteArray &bytes)
{
#ifdef Q_OS_UNIX
    // Answers are short; when the terminal's buffer is full nobody is reading
    // them, and they are dropped rather than queued.
    const ssize_t n = ::write(m_master, bytes.constData(), static_cast<size_t>(bytes.size()));
    return n == bytes.size();
#else
    Q_UNUSED(bytes)
    return false;
#endif
}
