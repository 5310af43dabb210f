#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QTcpServer>

class QTcpSocket;

// A stand-in device on 127.0.0.1: accepts one connection at a time and keeps
// every byte the program sends. Loopback only, never any other address.
class TcpPeer : public QObject
{
    Q_OBJECT

public:
    explicit TcpPeer(QObject *parent = nullptr);

    quint16 port() const;
    QString portText() const;
    QByteArray received() const;
    void clearReceived();
    // Waits (running the event loop) until at least count bytes have arrived.
    bool waitForBytes(int count, int timeoutMs = 3000);
    // Closes the connection from the device side.
    void dropClient();
    bool hasClient() const;

private:
    void onNewConnection();

    QTcpServer m_server;
    // Guarded: the socket deletes itself when the program disconnects.
    QPointer<QTcpSocket> m_client;
    QByteArray m_received;
};
