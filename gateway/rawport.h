#pragma once

#include "clientgate.h"

#include <QHash>
#include <QObject>
#include <QTcpServer>
#include <QVector>

class DeviceLink;
class GatewayLog;
class QTcpSocket;
class QTimer;

// The matrix's own commands from several clients (the window over TCP,
// matrixctl --tcp): each client's bytes go to the matrix whole and in order,
// never mixed with another client's, and the matrix's answer goes back to the
// client whose bytes went out last.
class RawPort : public QObject
{
    Q_OBJECT

public:
    // Bytes without "." that end a routing command go out after this much silence.
    static constexpr int PauseMs = 50;
    // More than this held without an end is no command of the matrix.
    static constexpr int MaxPendingBytes = 4096;

    RawPort(DeviceLink &link, GatewayLog &log, const ClientGate &gate, int matrixId, int inputs, int outputs,
            QObject *parent = nullptr);

    bool listen(const QHostAddress &address, quint16 port);
    QString errorString() const { return m_server.errorString(); }
    QHostAddress address() const { return m_server.serverAddress(); }
    quint16 port() const { return m_server.serverPort(); }

signals:
    // A routing command went to the matrix: input and outputs counted from 1.
    void routed(int input, const QVector<int> &outputs);

private:
    struct Client
    {
        QString peer;
        QByteArray pending;
        QTimer *pause = nullptr;
    };

    void onNewConnection();
    void onReadyRead(QTcpSocket *socket);
    void pass(QTcpSocket *socket, const QByteArray &bytes);
    void noteRoutes(const QByteArray &bytes);
    void drop(QTcpSocket *socket, const QString &reason);

    DeviceLink &m_link;
    GatewayLog &m_log;
    ClientGate m_gate;
    int m_matrixId;
    int m_inputs;
    int m_outputs;
    QTcpServer m_server;
    QHash<QTcpSocket *, Client> m_clients;
};
