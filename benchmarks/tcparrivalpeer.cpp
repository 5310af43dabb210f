#include "tcparrivalpeer.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>

#include <memory>

namespace {

// How often the thread looks at its stop flag while nothing arrives.
constexpr int PollMs = 50;
constexpr int ListenTimeoutMs = 5000;

} // namespace

TcpArrivalPeer::TcpArrivalPeer(ArrivalLog &log)
    : m_log(log)
{
}

TcpArrivalPeer::~TcpArrivalPeer()
{
    stop();
}

quint16 TcpArrivalPeer::listen()
{
    start();
    QElapsedTimer timer;
    timer.start();
    while (m_port.load() < 0 && timer.elapsed() < ListenTimeoutMs)
        QThread::msleep(1);
    return static_cast<quint16>(qMax(0, m_port.load()));
}

void TcpArrivalPeer::stop()
{
    m_stop = true;
    wait();
}

void TcpArrivalPeer::run()
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
            if (server.waitForNewConnection(PollMs))
                client.reset(server.nextPendingConnection());
            continue;
        }
        if (!client->waitForReadyRead(PollMs))
            continue;
        const std::int64_t arrived = ArrivalLog::nowNs();
        m_log.add(client->readAll(), arrived);
    }
}
