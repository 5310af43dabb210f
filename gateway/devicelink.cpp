#include "devicelink.h"

DeviceLink::DeviceLink(const Target &target, int gapMs, QObject *parent)
    : QObject(parent)
    , m_target(target)
    , m_gapMs(gapMs)
{
    m_gap.setSingleShot(true);
    m_retry.setSingleShot(true);
    m_connectTimeout.setSingleShot(true);
    connect(&m_gap, &QTimer::timeout, this, &DeviceLink::pump);
    connect(&m_retry, &QTimer::timeout, this, &DeviceLink::tryOpen);
    connect(&m_connectTimeout, &QTimer::timeout, this, [this] {
        m_socket.abort();
        dropped(QStringLiteral("no answer within %1 ms").arg(ConnectTimeoutMs));
    });

    m_socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    connect(&m_socket, &QTcpSocket::connected, this, [this] {
        m_connectTimeout.stop();
        setUp(true, QStringLiteral("connected"));
    });
    connect(&m_socket, &QTcpSocket::disconnected, this, [this] { dropped(QStringLiteral("closed by the device")); });
    connect(&m_socket, &QAbstractSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
        // A close by the peer is told by disconnected() as well; it counts once.
        if (error != QAbstractSocket::RemoteHostClosedError || !m_up)
            dropped(m_socket.errorString());
    });
    connect(&m_socket, &QTcpSocket::readyRead, this, &DeviceLink::readDevice);

    connect(&m_serial, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
        if (error == QSerialPort::ResourceError && m_serial.isOpen())
            dropped(m_serial.errorString());
    });
    connect(&m_serial, &QSerialPort::readyRead, this, &DeviceLink::readDevice);
}

void DeviceLink::start()
{
    tryOpen();
}

QString DeviceLink::where() const
{
    return m_target.serial ? m_target.host : QStringLiteral("%1:%2").arg(m_target.host).arg(m_target.port);
}

bool DeviceLink::enqueue(const QByteArray &bytes, const QString &source, QObject *origin)
{
    if (!m_up || m_queue.size() >= MaxQueued)
        return false;
    m_queue.enqueue({ bytes, source, origin });
    pump();
    return true;
}

void DeviceLink::tryOpen()
{
    if (!m_target.serial) {
        m_socket.abort();
        m_connectTimeout.start(ConnectTimeoutMs);
        m_socket.connectToHost(m_target.host, m_target.port);
        return;
    }
    m_serial.close();
    m_serial.setPortName(m_target.host);
    m_serial.setBaudRate(m_target.baud);
    if (!m_serial.open(QIODevice::ReadWrite)) {
        dropped(m_serial.errorString());
        return;
    }
    m_serial.setDataBits(QSerialPort::Data8);
    m_serial.setStopBits(QSerialPort::OneStop);
    m_serial.setParity(QSerialPort::NoParity);
    m_serial.setFlowControl(QSerialPort::NoFlowControl);
    setUp(true, QStringLiteral("opened"));
}

void DeviceLink::setUp(bool up, const QString &detail)
{
    if (up)
        m_schedule.reset();
    if (up == m_up)
        return;
    m_up = up;
    emit upChanged(up, detail);
    if (up)
        pump();
}

// The link is gone or could not be made: what waited for it is lost (its
// senders were answered when it was queued), and the next try is scheduled.
void DeviceLink::dropped(const QString &detail)
{
    if (m_retry.isActive())
        return;
    m_connectTimeout.stop();
    if (m_serial.isOpen())
        m_serial.close();
    const int lost = m_queue.size();
    m_queue.clear();
    m_gap.stop();
    const int delay = m_schedule.nextDelayMs();
    QString text = detail;
    if (lost > 0)
        text += QStringLiteral("; %1 queued commands dropped").arg(lost);
    if (m_up || m_schedule.attempts() == 1)
        text += QStringLiteral("; retrying, at most every %1 ms").arg(ReconnectSchedule::MaxDelayMs);
    if (m_up)
        setUp(false, text);
    else if (m_schedule.attempts() == 1)
        emit upChanged(false, text);
    // A drop seen from inside the socket's own signal: open again from the event loop.
    m_retry.start(delay);
}

void DeviceLink::pump()
{
    if (!m_up || m_gap.isActive() || m_queue.isEmpty())
        return;
    const Item item = m_queue.dequeue();
    device()->write(item.bytes);
    // Out now, not when the event loop comes round after the clients' answers.
    if (m_target.serial)
        m_serial.flush();
    else
        m_socket.flush();
    m_lastOrigin = item.origin;
    emit sent(item.bytes, item.source);
    m_gap.start(m_gapMs);
}

void DeviceLink::readDevice()
{
    const QByteArray bytes = device()->readAll();
    if (!bytes.isEmpty())
        emit received(bytes, m_lastOrigin);
}

QIODevice *DeviceLink::device()
{
    return m_target.serial ? static_cast<QIODevice *>(&m_serial) : &m_socket;
}
