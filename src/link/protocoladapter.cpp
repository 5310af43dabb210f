#include "link/protocoladapter.h"

#include "config/linkparameters.h"
#include "link/linktrace.h"
#include "link/matrixcommand.h"
#include "link/wiretext.h"

#include <QDeadlineTimer>
#include <QDebug>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QSerialPort>
#include <QTcpSocket>
#include <QThread>

namespace {

// Announces a blocking wait for as long as the returned guard lives, so that
// the window can look busy instead of frozen.
auto busyWhileWaiting(protocoladapter *adapter)
{
    emit adapter->busy(true);
    return qScopeGuard([adapter] { emit adapter->busy(false); });
}

} // namespace

protocoladapter &protocoladapter::instance()
{
    static protocoladapter adapter;
    return adapter;
}

protocoladapter::protocoladapter()
    : m_serialPort(new QSerialPort)
    , m_tcpSocket(new QTcpSocket)
    , m_command(new matrixcommand)
{
    m_tcpSocket->abort();

    // A device that goes away must not leave a dead link taking commands.
    connect(m_tcpSocket.get(), &QAbstractSocket::disconnected, this, &protocoladapter::onTcpClosed);
    connect(m_tcpSocket.get(), &QAbstractSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
        if (m_retryingTcp)
            onTcpRetryFailed();
        else if (error == QAbstractSocket::RemoteHostClosedError)
            onTcpClosed();
    });
    connect(m_tcpSocket.get(), &QAbstractSocket::connected, this, &protocoladapter::onTcpRetryConnected);
    connect(m_serialPort.get(), &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
        onSerialError(error);
    });
}

protocoladapter::~protocoladapter()
{
    // Deleting a connected socket closes it; that is no drop to report.
    m_tcpSocket->disconnect(this);
    m_serialPort->disconnect(this);
}

void protocoladapter::updateLinkState(LinkKind preferredKind)
{
    const bool wasUp = m_linkUp;
    m_linkUp = m_serialOpen || m_tcpConnected;
    m_linkKind = preferredKind;
    if (m_linkKind == SerialLink && !m_serialOpen && m_tcpConnected)
        m_linkKind = TcpLink;
    else if (m_linkKind == TcpLink && !m_tcpConnected && m_serialOpen)
        m_linkKind = SerialLink;
    announceCommandLink();
    if (m_linkUp != wasUp)
        emit linkUpChanged(m_linkUp);
}

// With one link open the choice is plain; with two, the operator cannot tell.
void protocoladapter::announceCommandLink()
{
    const bool both = m_serialOpen && m_tcpConnected;
    const int carrier = m_linkUp ? m_linkKind : -1;
    if (carrier >= 0 && carrier != m_toldLink && (both || m_bothWereOpen)) {
        emit notice(carrier == SerialLink
                        ? tr("commands go out on the serial port %1").arg(m_serialName)
                        : tr("commands go out on TCP %1:%2").arg(m_tcpSocket->peerName()).arg(m_tcpSocket->peerPort()));
    }
    m_toldLink = carrier;
    m_bothWereOpen = both;
}

bool protocoladapter::openSerial(const QString &portName, const QString &baud)
{
    emit linkTaken(SerialLink);
    const bool opened = openPort(portName, baud);
    if (!opened)
        emit linkFailed(tr("can't open port %1: %2").arg(portName, m_serialPort->errorString()));
    updateLinkState(SerialLink);
    return opened;
}

bool protocoladapter::openPort(const QString &portName, const QString &baud)
{
    m_serialPort->setPortName(portName);
    m_serialPort->setBaudRate(baud.toInt(), QSerialPort::AllDirections);
    const bool opened = m_serialPort->open(QIODevice::ReadWrite);
    if (opened) {
        m_serialPort->setDataBits(QSerialPort::Data8);
        m_serialPort->setStopBits(QSerialPort::OneStop);
        m_serialPort->setParity(QSerialPort::NoParity);
        m_serialPort->setFlowControl(QSerialPort::NoFlowControl);
        m_serialOpen = true;
        m_serialName = portName;
        m_serialBaud = baud;
        ++m_linkEpoch[SerialLink];
    }
    return opened;
}

void protocoladapter::closeSerial()
{
    emit linkTaken(SerialLink);
    const QScopedValueRollback<bool> closing(m_closingSerial, true);
    ++m_linkEpoch[SerialLink];
    if (m_serialPort->isOpen()) {
        m_serialPort->clear(QSerialPort::AllDirections);
        m_serialPort->close();
    }
    m_serialOpen = false;
    updateLinkState(m_linkKind);
}

bool protocoladapter::connectTcp(const QString &host, const QString &port)
{
    emit linkTaken(TcpLink);
    m_retryingTcp = false;
    m_tcpHost = host;
    m_tcpPort = port;
    {
        const QScopedValueRollback<bool> closing(m_closingTcp, true);
        m_tcpSocket->abort();
    }
    ++m_linkEpoch[TcpLink];
    m_tcpConnected = false;
    m_tcpSocket->connectToHost(host, static_cast<quint16>(port.toInt()), QIODevice::ReadWrite,
                               QAbstractSocket::AnyIPProtocol);
    bool connected = false;
    {
        const auto idle = busyWhileWaiting(this);
        connected = m_tcpSocket->waitForConnected(ConnectTimeoutMs);
    }
    if (!connected) {
        qCDebug(lcLink).noquote() << m_tcpSocket->errorString();
        emit linkFailed(tr("can't connect to %1:%2: %3").arg(host, port, m_tcpSocket->errorString()));
    }
    m_tcpConnected = connected;
    updateLinkState(TcpLink);
    return connected;
}

bool protocoladapter::disconnectTcp()
{
    emit linkTaken(TcpLink);
    m_retryingTcp = false;
    const QScopedValueRollback<bool> closing(m_closingTcp, true);
    m_tcpSocket->disconnectFromHost();
    if (m_tcpSocket->state() != QAbstractSocket::UnconnectedState) {
        const auto idle = busyWhileWaiting(this);
        if (!m_tcpSocket->waitForDisconnected(DisconnectTimeoutMs)) {
            emit linkFailed(tr("TCP link did not close: %1").arg(m_tcpSocket->errorString()));
            return m_linkUp;
        }
    }
    qCDebug(lcLink) << "断开成功 XXXXXXXXXXXXXXXXXXXXXXXXXX";
    ++m_linkEpoch[TcpLink];
    m_tcpConnected = false;
    updateLinkState(m_linkKind);
    return false;
}

bool protocoladapter::isConnected() const
{
    return m_tcpConnected || m_serialOpen;
}

bool protocoladapter::isTcpConnected() const
{
    return m_tcpConnected;
}

bool protocoladapter::isSerialOpen() const
{
    return m_serialOpen;
}

protocoladapter::LinkKind protocoladapter::commandLink() const
{
    return m_linkKind;
}

// Compared the way connectTcp() takes them, so a row connected to matches itself.
bool protocoladapter::isTcpLinkTo(const QString &host, const QString &port) const
{
    return m_tcpConnected && m_tcpSocket->peerName() == host
        && m_tcpSocket->peerPort() == static_cast<quint16>(port.toInt());
}

QString protocoladapter::linkErrorString() const
{
    return m_linkKind == SerialLink ? m_serialPort->errorString() : m_tcpSocket->errorString();
}

QString protocoladapter::linkTarget(LinkKind kind) const
{
    return kind == SerialLink ? m_serialName : m_tcpHost + QLatin1Char(':') + m_tcpPort;
}

void protocoladapter::retryLink(LinkKind kind)
{
    if (kind == SerialLink) {
        if (m_serialOpen)
            return;
        const bool opened = openPort(m_serialName, m_serialBaud);
        updateLinkState(SerialLink);
        emit retryDone(SerialLink, opened);
        return;
    }
    if (m_tcpConnected || m_retryingTcp)
        return;
    {
        const QScopedValueRollback<bool> closing(m_closingTcp, true);
        m_tcpSocket->abort();
    }
    m_retryingTcp = true;
    m_tcpSocket->connectToHost(m_tcpHost, static_cast<quint16>(m_tcpPort.toInt()), QIODevice::ReadWrite,
                               QAbstractSocket::AnyIPProtocol);
}

void protocoladapter::stopRetry(LinkKind kind)
{
    if (kind != TcpLink || !m_retryingTcp)
        return;
    m_retryingTcp = false;
    const QScopedValueRollback<bool> closing(m_closingTcp, true);
    m_tcpSocket->abort();
}

void protocoladapter::onTcpRetryConnected()
{
    if (!m_retryingTcp)
        return;
    m_retryingTcp = false;
    ++m_linkEpoch[TcpLink];
    m_tcpConnected = true;
    updateLinkState(TcpLink);
    emit retryDone(TcpLink, true);
}

// Told from the event loop, so that the next try never starts inside the
// socket's own error handling.
void protocoladapter::onTcpRetryFailed()
{
    m_retryingTcp = false;
    QMetaObject::invokeMethod(this, [this] { emit retryDone(TcpLink, false); }, Qt::QueuedConnection);
}

void protocoladapter::sendSwitch(int input, int output)
{
    sendWhenUp(m_command->makeSwitch(input, output));
}

void protocoladapter::sendSwitchMulti(int input, const QStringList &outputs)
{
    sendWhenUp(m_command->makeSwitchMulti(input, outputs));
}

void protocoladapter::sendSwitchToAll(int input)
{
    sendWhenUp(m_command->makeSwitchToAll(input));
}

void protocoladapter::sendOneByOne()
{
    sendWhenUp(m_command->makeOneByOne());
}

void protocoladapter::sendSaveScene(int scene)
{
    sendWhenUp(m_command->makeSaveScene(scene));
}

void protocoladapter::sendCallScene(int scene)
{
    sendWhenUp(m_command->makeCallScene(scene));
}

void protocoladapter::sendBuzzer(bool on)
{
    sendWhenUp(on ? m_command->makeBuzzerOn() : m_command->makeBuzzerOff());
}

// The device needs a moment to take each EDID write before the next one.
void protocoladapter::sendEdid(int input, int output)
{
    sendWhenUp(m_command->makeEdid(input, output));
    if (!m_linkUp)
        return;
    const auto idle = busyWhileWaiting(this);
    QThread::msleep(EdidPauseMs);
}

bool protocoladapter::sendNetSetting(const QString &ip, const QString &subnet, const QString &gateway)
{
    return sendWhenUp(m_command->makeNetSetting(QStringLiteral("%1.%2.%3").arg(ip, subnet, gateway)));
}

bool protocoladapter::sendNetReset()
{
    return sendWhenUp(m_command->makeNetReset());
}

void protocoladapter::sendRaw(const QString &text)
{
    sendWhenUp(text);
}

void protocoladapter::sendRawBytes(const QByteArray &bytes)
{
    if (!m_linkUp) {
        emit linkFailed(tr("%1 not sent: no link is open").arg(QString::fromLatin1(bytes)));
        return;
    }
    // Latin-1 both ways keeps every byte as it is; only the ID rewriting changes any.
    const QByteArray command = matrixcommand::wireText(QString::fromLatin1(bytes)).toLatin1();
    writeBytes(commandDevice(), command);
    // One character per byte: the log shows as many as went out.
    emit sendData(QString::fromLatin1(command));
}

bool protocoladapter::sendExact(const QByteArray &bytes)
{
    if (!m_linkUp)
        return false;
    const bool written = writeBytes(commandDevice(), bytes);
    emit sendData(QString::fromLocal8Bit(bytes));
    return written;
}

void protocoladapter::setReplyTimeout(int timeoutMs)
{
    m_replyTimeoutMs = timeoutMs;
}

bool protocoladapter::flushLink(int timeoutMs)
{
    QIODevice *device = commandDevice();
    const auto up = [this] { return m_linkKind == SerialLink ? m_serialOpen : m_tcpConnected; };
    const QDeadlineTimer deadline(timeoutMs);
    while (up() && device->bytesToWrite() > 0 && !deadline.hasExpired()) {
        if (!device->waitForBytesWritten(static_cast<int>(deadline.remainingTime())))
            break;
    }
    return up() && device->bytesToWrite() == 0;
}

QString protocoladapter::queryNetSetting()
{
    if (!m_linkUp)
        return QString();
    // The device answers other commands too, and nobody reads those answers:
    // left in the buffer they would pass for the network card's reply.
    discardInput();
    const QString query = m_command->makeNetQuery();
    send(query);
    readReply(NetReplyMaxSize);
    if (m_reply.isEmpty())
        emit linkFailed(tr("no answer to %1").arg(query));
    const int nul = m_reply.indexOf('\0');
    return QString::fromUtf8(nul < 0 ? m_reply : m_reply.left(nul));
}

bool protocoladapter::sendWhenUp(const QString &command)
{
    if (m_linkUp)
        return send(command);
    emit linkFailed(tr("%1 not sent: no link is open").arg(command));
    return false;
}

bool protocoladapter::send(QString command)
{
    command = matrixcommand::wireText(command);
    const bool written = m_linkKind == SerialLink ? writeSerial(command) : writeTcp(command);
    emit sendData(command);
    return written;
}

bool protocoladapter::writeSerial(const QString &command)
{
    return m_linkUp && writeBytes(m_serialPort.get(), WireText::bytes(command));
}

bool protocoladapter::writeTcp(const QString &command)
{
    return m_linkUp && writeBytes(m_tcpSocket.get(), WireText::bytes(command));
}

// Announces the bytes the link took, and reports a write that fell short.
bool protocoladapter::writeBytes(QIODevice *device, const QByteArray &bytes)
{
    const qint64 written = device->write(bytes);
    if (written > 0)
        emit bytesSent(bytes.left(static_cast<int>(written)));
    device->waitForBytesWritten(WriteTimeoutMs);
    if (written != bytes.size())
        emit linkFailed(tr("%1 was not sent whole: %2").arg(QString::fromLocal8Bit(bytes), device->errorString()));
    return written == bytes.size();
}

QIODevice *protocoladapter::commandDevice() const
{
    return m_linkKind == SerialLink ? static_cast<QIODevice *>(m_serialPort.get()) : m_tcpSocket.get();
}

// The answer comes back on the link the query went out on.
QIODevice *protocoladapter::replyDevice(int *timeoutMs) const
{
    if (m_linkKind == SerialLink && m_serialOpen) {
        *timeoutMs = m_replyTimeoutMs > 0 ? m_replyTimeoutMs : SerialReplyTimeoutMs;
        return m_serialPort.get();
    }
    if (m_linkKind == TcpLink && m_tcpConnected) {
        *timeoutMs = m_replyTimeoutMs > 0 ? m_replyTimeoutMs : TcpReplyTimeoutMs;
        return m_tcpSocket.get();
    }
    return nullptr;
}

void protocoladapter::discardInput()
{
    int timeoutMs = 0;
    QIODevice *device = replyDevice(&timeoutMs);
    if (device == m_serialPort.get()) {
        m_serialPort->clear(QSerialPort::Input);
    } else if (device) {
        device->readAll();
        // Also what reached the socket since the event loop last ran, such as
        // a greeting right after connecting.
        if (device->waitForReadyRead(0))
            device->readAll();
    }
}

void protocoladapter::readReply(int maxSize)
{
    // Cleared first, so that a link lost on the way never hands out the last answer.
    m_reply.clear();
    if (!m_linkUp)
        return;
    int timeoutMs = 0;
    QIODevice *device = replyDevice(&timeoutMs);
    if (!device)
        return;
    // The answer may already have come in while the query was being written, or
    // while the busy cursor went up: only an empty buffer is waited for.
    const auto idle = busyWhileWaiting(this);
    if (device->bytesAvailable() == 0 && !device->waitForReadyRead(timeoutMs))
        return;
    m_reply = device->read(maxSize);
    while (m_reply.size() < maxSize && !m_reply.contains('\0') && device->isOpen()
           && (device->bytesAvailable() > 0 || device->waitForReadyRead(ReplyGapMs))) {
        m_reply += device->read(maxSize - m_reply.size());
    }
    qCDebug(lcLink).noquote().nospace() << "in    " << m_reply.toHex();
}

void protocoladapter::onTcpClosed()
{
    if (m_closingTcp || !m_tcpConnected)
        return;
    qCDebug(lcLink).noquote() << "TCP link dropped:" << m_tcpSocket->peerName() << m_tcpSocket->errorString();
    emit linkFailed(tr("TCP link dropped: %1").arg(m_tcpSocket->errorString()));
    m_tcpConnected = false;
    updateLinkState(m_linkKind);
    announceDrop(TcpLink);
}

// A port whose device went away reports ResourceError; a pseudo-terminal whose
// other side closed reads end-of-file, which the port reports as ReadError,
// over and over until it is closed.
void protocoladapter::onSerialError(int error)
{
    if (m_closingSerial || !m_serialOpen || (error != QSerialPort::ResourceError && error != QSerialPort::ReadError))
        return;
    qCDebug(lcLink).noquote() << "serial link dropped:" << m_serialPort->portName() << m_serialPort->errorString();
    emit linkFailed(tr("serial link %1 dropped: %2").arg(m_serialName, m_serialPort->errorString()));
    m_serialPort->close();
    m_serialOpen = false;
    updateLinkState(m_linkKind);
    announceDrop(SerialLink);
}

// Told from the event loop, so that whoever listens may touch the links again;
// by then the program may have reopened or closed that link itself.
void protocoladapter::announceDrop(LinkKind kind)
{
    QMetaObject::invokeMethod(this, [this, kind, epoch = m_linkEpoch[kind]] {
        if (m_linkEpoch[kind] == epoch)
            emit linkDropped(kind);
    }, Qt::QueuedConnection);
}
