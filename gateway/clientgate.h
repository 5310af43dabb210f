#pragma once

#include <QHostAddress>
#include <QList>
#include <QPair>
#include <QString>

class QTcpSocket;

// Who may use a port of the gateway: the addresses of --allow (any when
// none are given) and at most MaxClients at once.
class ClientGate
{
public:
    static constexpr int MaxClients = 32;

    using Subnet = QPair<QHostAddress, int>;

    explicit ClientGate(const QList<Subnet> &allowed = {});

    // Why this new client may not stay, empty when it may; current: clients already served.
    QString refusal(const QTcpSocket &socket, int current) const;
    // The client's address as locks and logs name it (IPv4 without the IPv6 wrapping).
    static QHostAddress address(const QTcpSocket &socket);
    static QString peer(const QTcpSocket &socket);
    // Low delay for the answers, keep-alive to clear out peers that vanished.
    static void tune(QTcpSocket &socket);

private:
    QList<Subnet> m_allowed;
};
