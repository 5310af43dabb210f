#include "clientgate.h"

#include "gatewaylog.h"

#include <QTcpSocket>

ClientGate::ClientGate(const QList<Subnet> &allowed)
    : m_allowed(allowed)
{
}

QString ClientGate::refusal(const QTcpSocket &socket, int current) const
{
    if (current >= MaxClients)
        return QStringLiteral("refused: already %1 clients").arg(MaxClients);
    if (m_allowed.isEmpty())
        return QString();
    const QHostAddress from = address(socket);
    for (const Subnet &subnet : m_allowed) {
        if (from.isInSubnet(subnet))
            return QString();
    }
    return QStringLiteral("refused: address not allowed");
}

QHostAddress ClientGate::address(const QTcpSocket &socket)
{
    const QHostAddress peer = socket.peerAddress();
    bool isV4 = false;
    const quint32 v4 = peer.toIPv4Address(&isV4);
    return isV4 ? QHostAddress(v4) : peer;
}

QString ClientGate::peer(const QTcpSocket &socket)
{
    return QStringLiteral("%1:%2").arg(address(socket).toString()).arg(socket.peerPort());
}

bool ClientGate::admit(QTcpSocket *socket, int current, GatewayLog &log, const QString &service) const
{
    const QString refused = refusal(*socket, current);
    if (!refused.isEmpty()) {
        log.client(service, peer(*socket), false, refused);
        socket->abort();
        socket->deleteLater();
        return false;
    }
    // Low delay for the answers, keep-alive to clear out peers that vanished.
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    socket->setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    log.client(service, peer(*socket), true);
    return true;
}

void ClientGate::drop(QTcpSocket *socket, const QString &peer, GatewayLog &log, const QString &service,
                      const QString &reason)
{
    log.client(service, peer, false, QStringLiteral("dropped: ") + reason);
    socket->abort();
    socket->deleteLater();
}
