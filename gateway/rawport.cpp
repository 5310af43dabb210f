#include "rawport.h"

#include "devicelink.h"
#include "gatewaylog.h"

#include <QRegularExpression>
#include <QTcpSocket>
#include <QTimer>

namespace {

const QString Service = QStringLiteral("raw");
constexpr qint64 MaxUnsentBytes = 64 * 1024;

} // namespace

RawPort::RawPort(DeviceLink &link, GatewayLog &log, const ClientGate &gate, int matrixId, int inputs, int outputs,
                 QObject *parent)
    : QObject(parent)
    , m_link(link)
    , m_log(log)
    , m_gate(gate)
    , m_matrixId(matrixId)
    , m_inputs(inputs)
    , m_outputs(outputs)
{
    connect(&m_server, &QTcpServer::newConnection, this, &RawPort::onNewConnection);
    connect(&m_link, &DeviceLink::received, this, [this](const QByteArray &bytes, QObject *origin) {
        auto *socket = qobject_cast<QTcpSocket *>(origin);
        if (socket && m_clients.contains(socket) && socket->bytesToWrite() < MaxUnsentBytes)
            socket->write(bytes);
    });
}

bool RawPort::listen(const QHostAddress &address, quint16 port)
{
    return m_server.listen(address, port);
}

void RawPort::onNewConnection()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        if (!m_gate.admit(socket, m_clients.size(), m_log, Service))
            continue;
        const QString peer = ClientGate::peer(*socket);
        Client &client = m_clients[socket];
        client.peer = peer;
        client.pause = new QTimer(socket);
        client.pause->setSingleShot(true);
        connect(client.pause, &QTimer::timeout, this, [this, socket] {
            auto found = m_clients.find(socket);
            if (found != m_clients.end() && !found->pending.isEmpty())
                pass(socket, std::exchange(found->pending, QByteArray()));
        });
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            auto found = m_clients.find(socket);
            if (found == m_clients.end())
                return;
            // A client may send its last command and hang up at once.
            found->pending += socket->readAll();
            if (!found->pending.isEmpty())
                pass(socket, found->pending);
            m_log.client(Service, found->peer, false);
            m_clients.erase(found);
            socket->deleteLater();
        });
        if (socket->bytesAvailable() > 0)
            onReadyRead(socket);
    }
}

// What ends with "." goes at once; the rest (scene, buzzer and network
// commands have no end mark) when the client pauses.
void RawPort::onReadyRead(QTcpSocket *socket)
{
    auto found = m_clients.find(socket);
    if (found == m_clients.end())
        return;
    found->pending += socket->readAll();
    const int end = found->pending.lastIndexOf('.');
    if (end >= 0) {
        const QByteArray whole = found->pending.left(end + 1);
        found->pending.remove(0, end + 1);
        pass(socket, whole);
        found = m_clients.find(socket);
        if (found == m_clients.end())
            return;
    }
    if (found->pending.size() > MaxPendingBytes) {
        drop(socket, QStringLiteral("%1 bytes without a command's end").arg(found->pending.size()));
        return;
    }
    if (!found->pending.isEmpty())
        found->pause->start(PauseMs);
}

void RawPort::pass(QTcpSocket *socket, const QByteArray &bytes)
{
    const QString peer = m_clients.value(socket).peer;
    if (!m_link.enqueue(bytes, QStringLiteral("raw %1").arg(peer), socket)) {
        m_log.error(QStringLiteral("raw %1: %2 bytes not sent: the link to the matrix is down")
                        .arg(peer)
                        .arg(bytes.size()));
        return;
    }
    noteRoutes(bytes);
}

// The routing commands among the bytes, as the matrix would take them.
void RawPort::noteRoutes(const QByteArray &bytes)
{
    static const QRegularExpression command(
        QStringLiteral("(?:(\\d+)D)?(?:(\\d+)V(\\d+(?:,\\d+)*)|(\\d+)TOALL|TOONE)\\."));
    const QString text = QString::fromLatin1(bytes);
    QRegularExpressionMatchIterator it = command.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        const QString id = match.captured(1);
        // Commands for another matrix on the same line change nothing here.
        if (!id.isEmpty() && m_matrixId != 0 && id.toInt() != m_matrixId)
            continue;
        QVector<int> outputs;
        int input = 0;
        if (match.capturedLength(2) > 0) {
            input = match.captured(2).toInt();
            for (const QString &output : match.captured(3).split(QLatin1Char(',')))
                outputs << output.toInt();
            emit routed(input, outputs);
        } else if (match.capturedLength(4) > 0) {
            for (int output = 1; output <= m_outputs; ++output)
                outputs << output;
            emit routed(match.captured(4).toInt(), outputs);
        } else {
            for (int output = 1; output <= std::min(m_inputs, m_outputs); ++output)
                emit routed(output, { output });
        }
    }
}

void RawPort::drop(QTcpSocket *socket, const QString &reason)
{
    auto found = m_clients.find(socket);
    if (found == m_clients.end())
        return;
    const QString peer = found->peer;
    m_clients.erase(found);
    ClientGate::drop(socket, peer, m_log, Service, reason);
}
