#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

// A stand-in device on 127.0.0.1, and only there: takes one connection at a time
// and keeps every byte the program sends.
class TcpPeer : public QObject
{
    Q_OBJECT

public:
    TcpPeer();

    quint16 port() const { return m_server.serverPort(); }
    QString portText() const { return QString::number(port()); }
    QByteArray received() const { return m_received; }
    void clearReceived() { m_received.clear(); }
    // Runs the event loop until count bytes have arrived.
    bool waitForBytes(int count, int timeoutMs = 3000);
    // Closes the connection from the device side.
    void dropClient();
    bool hasClient() const { return m_client != nullptr; }

private:
    QTcpServer m_server;
    QPointer<QTcpSocket> m_client; // deletes itself when the program disconnects
    QByteArray m_received;
};
