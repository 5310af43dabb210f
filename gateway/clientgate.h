#pragma once

#include <QHostAddress>
#include <QList>
#include <QPair>
#include <QString>

class GatewayLog;
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
    // Turns a new client away (logged and closed), or tunes it for serving and logs it; true when it stays.
    bool admit(QTcpSocket *socket, int current, GatewayLog &log, const QString &service) const;
    // Ends a client's connection from our side, with the reason in the log.
    static void drop(QTcpSocket *socket, const QString &peer, GatewayLog &log, const QString &service,
                     const QString &reason);
    // The client's address as locks and logs name it (IPv4 without the IPv6 wrapping).
    static QHostAddress address(const QTcpSocket &socket);
    static QString peer(const QTcpSocket &socket);

private:
    QList<Subnet> m_allowed;
};
