#pragma once

#include "clientgate.h"
#include "videohubparser.h"

#include <QHash>
#include <QObject>
#include <QTcpServer>
#include <QVector>

class AliasStore;
class DeviceLink;
class GatewayLog;
class QTcpSocket;
class RouteState;

// The gateway as a Videohub router (protocol 2.8, LF line ends, UTF-8):
// the dump on connect, routing, label and lock requests answered with ACK or
// NAK and pushed to every client, queries and PING. Clients are answered from
// the gateway's own state at once; only routes wait, in the link's queue.
class VideohubServer : public QObject
{
    Q_OBJECT

public:
    static constexpr int MaxLabelLength = 255;
    // A client that lets this much of our output pile up unread is dropped.
    static constexpr qint64 MaxUnsentBytes = 1024 * 1024;

    VideohubServer(RouteState &routes, AliasStore &aliases, DeviceLink &link, GatewayLog &log,
                   const ClientGate &gate, const QString &name, QObject *parent = nullptr);

    bool listen(const QHostAddress &address, quint16 port);
    QString errorString() const { return m_server.errorString(); }
    QHostAddress address() const { return m_server.serverAddress(); }
    quint16 port() const { return m_server.serverPort(); }

    // Routes that reached the matrix another way (the raw port): every client hears of them.
    void noteRoutes(int input, const QVector<int> &outputs);

private:
    struct Client
    {
        QString address;
        QString peer;
        VideohubParser parser;
    };
    using Block = VideohubParser::Block;

    void onNewConnection();
    void onReadyRead(QTcpSocket *socket);
    void onLinkChanged();
    void drop(QTcpSocket *socket, const QString &reason);
    void handle(QTcpSocket *socket, const Block &block);

    bool routeRequest(QTcpSocket *socket, const QStringList &lines);
    bool labelRequest(QTcpSocket *socket, bool inputs, const QStringList &lines);
    bool lockRequest(QTcpSocket *socket, const QStringList &lines);
    bool deviceRequest(const QStringList &lines);
    bool configurationRequest(const QStringList &lines);
    // Answers the request: ACK with the updates, or NAK.
    void reply(QTcpSocket *socket, bool ok);

    QByteArray dump(const QString &address, bool withPreamble) const;
    QByteArray deviceBlock() const;
    QByteArray labelBlock(bool inputs, const QVector<int> &indexes) const;
    QByteArray lockBlock(const QString &address, const QVector<int> &indexes) const;
    QByteArray routingBlock(const QVector<int> &outputs) const;
    QByteArray configurationBlock() const;
    QByteArray queryAnswer(const QString &header, const QString &address) const;
    // Zero-based input shown for a zero-based output.
    int shownInput(int output) const;
    QVector<int> all(int count) const;

    void write(QTcpSocket *socket, const QByteArray &bytes);
    void broadcast(const QByteArray &bytes);

    RouteState &m_routes;
    AliasStore &m_aliases;
    DeviceLink &m_link;
    GatewayLog &m_log;
    ClientGate m_gate;
    QString m_name;
    QString m_uniqueId;
    bool m_present = false;
    bool m_takeMode = false;
    int m_inputs;
    int m_outputs;
    // Output index to the address that holds its lock, empty where none does.
    QVector<QString> m_locks;
    QTcpServer m_server;
    QHash<QTcpSocket *, Client> m_clients;
    // Updates of the request being answered, sent after its ACK.
    QVector<QPair<QTcpSocket *, QByteArray>> m_pending;
};
