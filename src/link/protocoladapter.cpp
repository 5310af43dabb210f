#include "link/protocoladapter.h"

#include "config/linkparameters.h"
#include "link/matrixcommand.h"

#include <QDebug>
#include <QSerialPort>
#include <QTcpSocket>
#include <QThread>

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
}

protocoladapter::~protocoladapter()
{
    delete m_command;
    delete m_tcpSocket;
    delete m_serialPort;
}

void protocoladapter::updateLinkState(int preferredKind)
{
    m_linkUp = m_serialOpen || m_tcpConnected;
    m_linkKind = preferredKind;
    if (m_linkKind == SerialLink && !m_serialOpen && m_tcpConnected)
        m_linkKind = TcpLink;
    else if (m_linkKind == TcpLink && !m_tcpConnected && m_serialOpen)
        m_linkKind = SerialLink;
}

bool protocoladapter::openSerial(const QString &portName, const QString &baud)
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
    }
    updateLinkState(SerialLink);
    return opened;
}

void protocoladapter::closeSerial()
{
    m_serialPort->clear(QSerialPort::AllDirections);
    m_serialPort->close();
    m_serialOpen = false;
    updateLinkState(m_linkKind);
}

bool protocoladapter::connectTcp(const QString &host, const QString &port)
{
    m_tcpSocket->abort();
    m_tcpSocket->connectToHost(host, static_cast<quint16>(port.toInt()), QIODevice::ReadWrite,
                               QAbstractSocket::AnyIPProtocol);
    m_tcpConnected = m_tcpSocket->waitForConnected(ConnectTimeoutMs);
    if (!m_tcpConnected)
        qDebug() << m_tcpSocket->errorString();
    updateLinkState(TcpLink);
    return m_tcpConnected;
}

bool protocoladapter::disconnectTcp()
{
    m_tcpSocket->disconnectFromHost();
    if (m_tcpSocket->state() != QAbstractSocket::UnconnectedState
        && !m_tcpSocket->waitForDisconnected(DisconnectTimeoutMs)) {
        return m_linkUp;
    }
    qDebug() << "断开成功 XXXXXXXXXXXXXXXXXXXXXXXXXX";
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

void protocoladapter::sendSwitch(int input, int output)
{
    if (m_linkUp)
        send(m_command->makeSwitch(input, output));
}

void protocoladapter::sendSwitchMulti(int input, const QStringList &outputs)
{
    if (m_linkUp)
        send(m_command->makeSwitchMulti(input, outputs));
}

void protocoladapter::sendSwitchToAll(int input)
{
    if (m_linkUp)
        send(m_command->makeSwitchToAll(input));
}

void protocoladapter::sendOneByOne()
{
    if (m_linkUp)
        send(m_command->makeOneByOne());
}

void protocoladapter::sendSaveScene(int scene)
{
    if (m_linkUp)
        send(m_command->makeSaveScene(scene));
}

void protocoladapter::sendCallScene(int scene)
{
    if (m_linkUp)
        send(m_command->makeCallScene(scene));
}

void protocoladapter::sendBuzzer(bool on)
{
    if (m_linkUp)
        send(on ? m_command->makeBuzzerOn() : m_command->makeBuzzerOff());
}

// The device needs a moment to take each EDID write before the next one.
void protocoladapter::sendEdid(int input, int output)
{
    if (!m_linkUp)
        return;
    send(m_command->makeEdid(input, output));
    QThread::msleep(EdidPauseMs);
}

void protocoladapter::sendNetSetting(const QString &ip, const QString &subnet, const QString &gateway)
{
    if (m_linkUp)
        send(m_command->makeNetSetting(QStringLiteral("%1.%2.%3").arg(ip, subnet, gateway)));
}

void protocoladapter::sendNetReset()
{
    if (m_linkUp)
        send(m_command->makeNetReset());
}

void protocoladapter::sendRaw(const QString &text)
{
    if (m_linkUp)
        send(text);
}

QString protocoladapter::queryNetSetting()
{
    if (!m_linkUp)
        return QString();
    send(m_command->makeNetQuery());
    readReply(NetReplyMaxSize);
    const int nul = m_reply.indexOf('\0');
    return QString::fromUtf8(nul < 0 ? m_reply : m_reply.left(nul));
}

// Matrix ID 0 addresses every matrix: drop the leading "0" and every "D".
void protocoladapter::send(QString command)
{
    if (command.startsWith(QLatin1Char('0')))
        command.remove(0, 1);
    if (linkParameters().matrixId == 0)
        command.remove(QLatin1Char('D'), Qt::CaseSensitive);
    if (m_linkKind == SerialLink)
        writeSerial(command);
    else
        writeTcp(command);
    emit sendData(command);
}

void protocoladapter::writeSerial(const QString &command)
{
    if (!m_linkUp)
        return;
    m_serialPort->write(command.toLocal8Bit());
    m_serialPort->waitForBytesWritten(WriteTimeoutMs);
}

void protocoladapter::writeTcp(const QString &command)
{
    if (!m_linkUp)
        return;
    m_tcpSocket->write(command.toLocal8Bit());
    m_tcpSocket->waitForBytesWritten(WriteTimeoutMs);
}

// The answer comes back on the link the query went out on.
void protocoladapter::readReply(int maxSize)
{
    if (!m_linkUp)
        return;
    m_reply.clear();
    QIODevice *device = nullptr;
    int timeout = 0;
    if (m_linkKind == SerialLink && m_serialOpen) {
        device = m_serialPort;
        timeout = SerialReplyTimeoutMs;
    } else if (m_linkKind == TcpLink && m_tcpConnected) {
        device = m_tcpSocket;
        timeout = TcpReplyTimeoutMs;
    }
    if (!device || !device->waitForReadyRead(timeout))
        return;
    m_reply = device->read(maxSize);
    qDebug() << "in    " << m_reply.toHex();
}
