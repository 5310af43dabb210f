#include "support/answeringpeer.h"

#include <QDeadlineTimer>
#include <QTcpServer>
#include <QTcpSocket>

AnsweringPeer::AnsweringPeer(Transport transport)
    : m_pty(transport == Pty ? std::make_unique<PtyPair>() : nullptr)
{
}

AnsweringPeer::~AnsweringPeer()
{
    m_stop = true;
    wait();
}

bool AnsweringPeer::startPeer()
{
    if (m_pty && !m_pty->isValid())
        return false;
    start();
    const QDeadlineTimer deadline(5000);
    while (!m_pty && m_port < 0 && !deadline.hasExpired())
        QThread::msleep(1);
    return m_pty || m_port > 0;
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

QByteArray AnsweringPeer::take(const QByteArray &bytes)
{
    QMutexLocker lock(&m_mutex);
    m_received += bytes;
    m_pending += bytes;
    if (m_trigger.isEmpty() || !m_pending.contains(m_trigger))
        return {};
    m_pending.clear();
    return m_answer;
}

// A "|" in an answer is a 10 ms pause, as between the pieces of an answer trickling in from a device on a slow line.
template <typename Write> static void inPieces(const QByteArray &answer, Write write)
{
    const QList<QByteArray> pieces = answer.split('|');
    for (int i = 0; i < pieces.size(); ++i) {
        QThread::msleep(i ? 10 : 0);
        write(pieces.at(i));
    }
}

void AnsweringPeer::run()
{
    if (m_pty) {
        while (!m_stop)
            inPieces(take(m_pty->waitAndRead(10)), [this](const QByteArray &piece) { m_pty->write(piece); });
        return;
    }
    QTcpServer server;
    m_port = server.listen(QHostAddress::LocalHost, 0) ? server.serverPort() : 0;
    std::unique_ptr<QTcpSocket> client;
    while (!m_stop && m_port > 0) {
        if (!client || client->state() != QAbstractSocket::ConnectedState) {
            if (server.waitForNewConnection(10))
                client.reset(server.nextPendingConnection());
        } else if (client->waitForReadyRead(10)) {
            inPieces(take(client->readAll()), [&client](const QByteArray &piece) {
                if (client->write(piece) > 0)
                    client->waitForBytesWritten(5000);
            });
        }
    }
}
