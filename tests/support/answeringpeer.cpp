#include "support/answeringpeer.h"

#include <QElapsedTimer>
#include <QMutexLocker>
#include <QTcpServer>
#include <QTcpSocket>

namespace {

// How often the thread looks at its flags while nothing arrives.
constexpr int PollMs = 10;
constexpr int StartTimeoutMs = 5000;

} // namespace

AnsweringPeer::AnsweringPeer(Transport transport)
    : m_transport(transport)
{
    if (m_transport == Pty)
        m_pty = std::make_unique<PtyPair>();
}

AnsweringPeer::~AnsweringPeer()
{
    m_stop = true;
    wait();
}

bool AnsweringPeer::startPeer()
{
    if (m_transport == Pty) {
        if (!m_pty->isValid())
            return false;
        m_linked = true;
        start();
        return true;
    }
    start();
    QElapsedTimer timer;
    timer.start();
    while (m_port.load() < 0 && timer.elapsed() < StartTimeoutMs)
        QThread::msleep(1);
    return m_port.load() > 0;
}

QString AnsweringPeer::portText() const
{
    return QString::number(m_port.load());
}

QString AnsweringPeer::portName() const
{
    return m_pty ? m_pty->slavePath() : QString();
}

void AnsweringPeer::setAnswer(const QByteArray &trigger, const QByteArray &answer)
{
    QMutexLocker lock(&m_mutex);
    m_trigger = trigger;
    m_answer = answer;
    m_pending.clear();
}

QByteArray AnsweringPeer::received() const
{
    QMutexLocker lock(&m_mutex);
    return m_received;
}

void AnsweringPeer::clearReceived()
{
    QMutexLocker lock(&m_mutex);
    m_received.clear();
    m_pending.clear();
}

void AnsweringPeer::take(const QByteArray &bytes, const std::function<void(const QByteArray &)> &reply)
{
    QByteArray answer;
    {
        QMutexLocker lock(&m_mutex);
        m_received += bytes;
        m_pending += bytes;
        if (m_trigger.isEmpty() || !m_pending.contains(m_trigger))
            return;
        m_pending.clear();
        answer = m_answer;
    }
    if (!answer.isEmpty())
        reply(answer);
}

void AnsweringPeer::run()
{
    if (m_transport == Tcp)
        runTcp();
    else
        runPty();
}

void AnsweringPeer::runTcp()
{
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost, 0)) {
        m_port = 0;
        return;
    }
    m_port = server.serverPort();
    std::unique_ptr<QTcpSocket> client;
    while (!m_stop) {
        if (!client || client->state() != QAbstractSocket::ConnectedState) {
            m_linked = false;
            if (server.waitForNewConnection(PollMs)) {
                client.reset(server.nextPendingConnection());
                m_linked = true;
            }
            continue;
        }
        if (!client->waitForReadyRead(PollMs))
            continue;
        QTcpSocket *socket = client.get();
        take(socket->readAll(), [socket](const QByteArray &answer) {
            socket->write(answer);
            socket->waitForBytesWritten(StartTimeoutMs);
        });
    }
}

void AnsweringPeer::runPty()
{
    while (!m_stop) {
        if (!m_linked) {
            QThread::msleep(PollMs);
            continue;
        }
        const QByteArray bytes = m_pty->waitAndRead(PollMs);
        if (!bytes.isEmpty())
            take(bytes, [this](const QByteArray &answer) { m_pty->write(answer); });
    }
}
