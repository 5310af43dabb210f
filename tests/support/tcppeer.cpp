#include "support/tcppeer.h"

#include <QTest>

TcpPeer::TcpPeer()
{
    m_server.listen(QHostAddress::LocalHost, 0);
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            m_client = socket;
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { m_received += socket->readAll(); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

bool TcpPeer::waitForBytes(int count, int timeoutMs)
{
    return QTest::qWaitFor([&] { return m_received.size() >= count; }, timeoutMs);
}

void TcpPeer::dropClient()
{
    if (m_client)
        m_client->disconnectFromHost();
    m_client = nullptr;
}
