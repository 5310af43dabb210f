#include "clientgate.h"

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

void ClientGate::tune(QTcpSocket &socket)
{
    socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    socket.setSocketOption(QAbstractSocket::KeepAliveOption, 1);
}
