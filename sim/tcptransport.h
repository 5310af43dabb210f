#pragma once

#include <QHostAddress>
#include <QObject>
#include <QTcpServer>

class EventLog;
class Simulator;
class QTcpSocket;

// Accepts any number of TCP clients on the given address, each with a stream
// session of its own. It only ever listens: it never connects anywhere.
class TcpTransport : public QObject
{
    Q_OBJECT

public:
    TcpTransport(Simulator &simulator, EventLog &log, QObject *parent = nullptr);

    bool listen(const QHostAddress &address, quint16 port);
    QString errorString() const;
    QHostAddress address() const;
    quint16 port() const;

private:
    void onNewConnection();
    void serve(QTcpSocket *socket);

    Simulator &m_simulator;
    EventLog &m_log;
    QTcpServer m_server;
    int m_clientCount = 0;
};
