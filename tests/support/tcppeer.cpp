#include "support/tcppeer.h"

#include <QSignalSpy>
#include <QTcpSocket>
#include <QTest>

TcpPeer::TcpPeer(QObject *parent)
    : QObject(parent)
{
    m_server.listen(QHostAddress::LocalHost, 0);
    connect(&m_server, &QTcpServer::newConnection, this, &TcpPeer::onNewConnection);
}

quint16 TcpPeer::port() const
{
    return m_server.serverPort();
}

QString TcpPeer::portText() const
{
    return QString::number(port());
}

QByteArray TcpPeer::received() const
{
    return m_received;
}

void TcpPeer::clearReceived()
{
    m_received.clear();
}

bool TcpPeer::waitForBytes(int count, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (m_received.size() < count && timer.elapsed() < timeoutMs)
        QTest::qWait(5);
    return m_received.size() >= count;
}

void TcpPeer::dropClient()
{
    if (m_client) {
        m_client->disconnectFromHost();
        m_client = nullptr;
    }
}

bool TcpPeer::hasClient() const
{
    return m_client != nullptr;
}

void TcpPeer::onNewConnection()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        m_client = socket;
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
            m_received += socket->readAll();
        });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}
