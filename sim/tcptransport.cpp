#include "tcptransport.h"

#include "eventlog.h"
#include "simulator.h"
#include "streamsession.h"

#include <QTcpSocket>

namespace {

// A client that floods us or never reads its answers must not grow our memory.
constexpr qint64 ReadBufferSize = 64 * 1024;
constexpr qint64 MaxUnsentBytes = 64 * 1024;

} // namespace

TcpTransport::TcpTransport(Simulator &simulator, EventLog &log, QObject *parent)
    : QObject(parent)
    , m_simulator(simulator)
    , m_log(log)
{
    connect(&m_server, &QTcpServer::newConnection, this, &TcpTransport::onNewConnection);
}

bool TcpTransport::listen(const QHostAddress &address, quint16 port)
{
    return m_server.listen(address, port);
}

QString TcpTransport::errorString() const
{
    return m_server.errorString();
}

QHostAddress TcpTransport::address() const
{
    return m_server.serverAddress();
}

quint16 TcpTransport::port() const
{
    return m_server.serverPort();
}

void TcpTransport::onNewConnection()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection())
        serve(socket);
}

void TcpTransport::serve(QTcpSocket *socket)
{
    const QString source = QStringLiteral("tcp:%1").arg(++m_clientCount);
    socket->setReadBufferSize(ReadBufferSize);
    StreamSession *session = m_simulator.createSession(
        source,
        [socket](const QByteArray &bytes) {
            if (socket->state() != QAbstractSocket::ConnectedState || socket->bytesToWrite() > MaxUnsentBytes)
                return false;
            return socket->write(bytes) == bytes.size();
        },
        socket);
    m_log.client(source, true, QStringLiteral("%1:%2").arg(socket->peerAddress().toString()).arg(socket->peerPort()));

    connect(socket, &QTcpSocket::readyRead, session, [socket, session] { session->feed(socket->readAll()); });
    connect(socket, &QTcpSocket::disconnected, this, [this, socket, session, source] {
        // A client may send its last command and hang up at once (HWS, then disconnect).
        session->feed(socket->readAll());
        session->finish();
        m_log.client(source, false, QString());
        socket->deleteLater();
    });
    // Bytes may have arrived before the connections existed.
    if (socket->bytesAvailable() > 0)
        session->feed(socket->readAll());
}
