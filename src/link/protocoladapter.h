#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

class QSerialPort;
class QTcpSocket;
class matrixcommand;

// The program's one link to the matrix: owns the serial port and the TCP socket,
// sends every command and announces it through sendData(). All calls block the
// GUI thread for at most the waits named below.
class protocoladapter : public QObject
{
    Q_OBJECT

public:
    enum LinkKind { SerialLink = 0, TcpLink = 1 };

    static constexpr int ConnectTimeoutMs = 1000;
    static constexpr int DisconnectTimeoutMs = 30000;
    static constexpr int TcpReplyTimeoutMs = 30000;
    static constexpr int SerialReplyTimeoutMs = 100;
    static constexpr int WriteTimeoutMs = 200;
    static constexpr int EdidPauseMs = 1000;
    static constexpr int NetReplyMaxSize = 67;

    static protocoladapter &instance();
    ~protocoladapter() override;

    bool openSerial(const QString &portName, const QString &baud);
    void closeSerial();
    bool connectTcp(const QString &host, const QString &port);
    bool disconnectTcp();
    bool isConnected() const;
    bool isTcpConnected() const;
    bool isSerialOpen() const;

    void sendSwitch(int input, int output);
    void sendSwitchMulti(int input, const QStringList &outputs);
    void sendSwitchToAll(int input);
    void sendOneByOne();
    void sendSaveScene(int scene);
    void sendCallScene(int scene);
    void sendBuzzer(bool on);
    void sendEdid(int input, int output);
    void sendNetSetting(const QString &ip, const QString &subnet, const QString &gateway);
    void sendNetReset();
    void sendRaw(const QString &text);
    QString queryNetSetting();

signals:
    void sendData(QString data);
    // The device side closed the link in use (kind: 0 serial, 1 TCP).
    void linkDropped(int kind);

private:
    protocoladapter();
    Q_DISABLE_COPY(protocoladapter)

    void send(QString command);
    void writeSerial(const QString &command);
    void writeTcp(const QString &command);
    void readReply(int maxSize);
    // Link up follows the transports: true while either one is open, and
    // commands go to the one still open when the other fails or closes.
    void updateLinkState(int preferredKind);

    QSerialPort *m_serialPort = nullptr;
    QTcpSocket *m_tcpSocket = nullptr;
    matrixcommand *m_command = nullptr;
    QByteArray m_reply;
    bool m_linkUp = false;
    bool m_tcpConnected = false;
    bool m_serialOpen = false;
    int m_linkKind = SerialLink;
};
