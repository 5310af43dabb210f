#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class QIODevice;
class QSerialPort;
class QTcpSocket;
class matrixcommand;

// The program's one link to the matrix: owns the serial port and the TCP socket,
// sends every command and announces it through sendData(). All calls block the
// GUI thread for at most the waits named below. When the device side closes a
// link, that link stops taking commands and linkDropped() tells the panels.
class protocoladapter : public QObject
{
    Q_OBJECT

public:
    enum LinkKind { SerialLink = 0, TcpLink = 1 };
    Q_ENUM(LinkKind)

    static constexpr int ConnectTimeoutMs = 1000;
    static constexpr int DisconnectTimeoutMs = 30000;
    static constexpr int TcpReplyTimeoutMs = 30000;
    static constexpr int SerialReplyTimeoutMs = 100;
    static constexpr int WriteTimeoutMs = 200;
    static constexpr int EdidPauseMs = 1000;
    static constexpr int NetReplyMaxSize = 67;
    // A serial answer trickles in at the line's speed: keep reading while the
    // next piece follows within this gap.
    static constexpr int ReplyGapMs = 50;

    static protocoladapter &instance();
    ~protocoladapter() override;

    bool openSerial(const QString &portName, const QString &baud);
    void closeSerial();
    bool connectTcp(const QString &host, const QString &port);
    bool disconnectTcp();
    bool isConnected() const;
    bool isTcpConnected() const;
    bool isSerialOpen() const;
    // The link that commands go out on while one is up.
    LinkKind commandLink() const;
    // True while the TCP link is up to this host and port, given as they would
    // be given to connectTcp().
    bool isTcpLinkTo(const QString &host, const QString &port) const;
    // Why the last open or connect of the command link failed, in Qt's words.
    QString linkErrorString() const;
    // The last link of this kind the operator opened: "host:port" or the port name.
    QString linkTarget(LinkKind kind) const;
    // Tries a dropped link again without blocking and without notices; the
    // outcome comes as retryDone(). stopRetry() gives up a try under way.
    void retryLink(LinkKind kind);
    void stopRetry(LinkKind kind);

    void sendSwitch(int input, int output);
    void sendSwitchMulti(int input, const QStringList &outputs);
    void sendSwitchToAll(int input);
    void sendOneByOne();
    void sendSaveScene(int scene);
    void sendCallScene(int scene);
    void sendBuzzer(bool on);
    void sendEdid(int input, int output);
    // Both return whether the command went out on a link.
    bool sendNetSetting(const QString &ip, const QString &subnet, const QString &gateway);
    bool sendNetReset();
    void sendRaw(const QString &text);
    // Bytes as typed in hex, any value 00 to FF; the matrix ID 0 rewriting
    // applies as for text.
    void sendRawBytes(const QByteArray &bytes);
    // Exactly these bytes, with no rewriting for any matrix ID; whether the
    // link took them all.
    bool sendExact(const QByteArray &bytes);
    QString queryNetSetting();
    // How long queryNetSetting() waits for the answer; 0 keeps the link's own wait.
    void setReplyTimeout(int timeoutMs);
    // Waits until the command link has passed on every byte it was given, for
    // at most timeoutMs; false when bytes are left or the link is down.
    bool flushLink(int timeoutMs);

signals:
    void sendData(QString data);
    // The device side closed an open link. Delivered
    // from the event loop, and only if that link has not been opened again.
    void linkDropped(protocoladapter::LinkKind kind);
    // Whether any link is left to carry commands; emitted when that changes.
    void linkUpChanged(bool up);
    // A link that failed, a query left unanswered or a command that found no
    // link, in the operator's words with the reason Qt gives.
    void linkFailed(const QString &reason);
    // Which link carries the commands, told when that changes while both links
    // are open or one of the two has just closed.
    void notice(const QString &text);
    // A blocking wait of the link starts (true) or is over (false).
    void busy(bool waiting);
    // The bytes of one command as they went to the wire.
    void bytesSent(const QByteArray &bytes);
    // The operator opened or closed a link of this kind.
    void linkTaken(protocoladapter::LinkKind kind);
    // A try of retryLink() is over: the link is up again, or not.
    void retryDone(protocoladapter::LinkKind kind, bool up);

private:
    protocoladapter();
    Q_DISABLE_COPY(protocoladapter)

    // Whether the command was handed whole to the link.
    bool send(QString command);
    // send() while a link is up; otherwise the console hears why nothing went out.
    bool sendWhenUp(const QString &command);
    void announceCommandLink();
    bool writeBytes(QIODevice *device, const QByteArray &bytes);
    bool writeSerial(const QString &command);
    bool writeTcp(const QString &command);
    void readReply(int maxSize);
    // The device the answer to the last command comes back on, and how long to
    // wait for it; nullptr while no link is up.
    // The port or socket of the link that carries the commands.
    QIODevice *commandDevice() const;
    QIODevice *replyDevice(int *timeoutMs) const;
    void discardInput();
    void onTcpClosed();
    void onSerialError(int error);
    void announceDrop(LinkKind kind);
    bool openPort(const QString &portName, const QString &baud);
    void onTcpRetryConnected();
    void onTcpRetryFailed();
    // Link up follows the transports: true while either one is open, and
    // commands go to the one still open when the other fails or closes.
    void updateLinkState(LinkKind preferredKind);

    std::unique_ptr<QSerialPort> m_serialPort;
    // The port as the operator named it, for the words of a drop.
    QString m_serialName;
    QString m_serialBaud;
    // Where the operator last connected, for a try after a drop.
    QString m_tcpHost;
    QString m_tcpPort;
    // A background connect is under way.
    bool m_retryingTcp = false;
    std::unique_ptr<QTcpSocket> m_tcpSocket;
    std::unique_ptr<matrixcommand> m_command;
    QByteArray m_reply;
    bool m_linkUp = false;
    bool m_tcpConnected = false;
    bool m_serialOpen = false;
    LinkKind m_linkKind = SerialLink;
    int m_replyTimeoutMs = 0;
    // Set while the program itself closes a link, which is no drop.
    bool m_closingTcp = false;
    bool m_closingSerial = false;
    // Counts the program's own opens and closes per link kind, so that a drop
    // is not reported once the program has acted on that link again.
    int m_linkEpoch[2] = {0, 0};
    // The link last told to carry the commands (-1: none), and whether both were open then.
    int m_toldLink = -1;
    bool m_bothWereOpen = false;
};
