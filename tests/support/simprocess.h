#pragma once

#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QVector>

#include <functional>

// Runs the built matrix-sim on 127.0.0.1 as a real device peer and collects the
// JSON line it reports for every command ("text", "action", "address", the device
// state after it). Commands without terminator (SAVE, CALL, HWS) count as complete
// after 50 ms of silence: wait for one to be reported before sending the next.
class SimProcess : public QObject
{
    Q_OBJECT

public:
    explicit SimProcess(QObject *parent = nullptr);
    ~SimProcess() override;

    // Starts matrix-sim with "--listen 127.0.0.1:0 --json --watch-stdin" followed by extraArgs
    // (e.g. {"--pty"}, {"--id", "3"}, {"--reply-delay", "150"}) and waits up to
    // 5 s until it reports ready. False when it did not start or exited.
    bool start(const QStringList &extraArgs = {});
    void stop();

    // The TCP port it listens on (127.0.0.1), also as text for connectTcp().
    quint16 port() const;
    QString portText() const;
    // The serial device to open as the matrix's serial port (only with --pty).
    QString ptyPath() const;

    // Waits (running the event loop) until at least count commands have been
    // reported since start().
    bool waitForCommands(int count, int timeoutMs = 3000);
    // The last command reported (an empty object when there is none).
    QJsonObject lastCommand() const;
    // Every JSON line so far, start-up events ("listening", "pty", "ready"),
    // "client" and "reply" events included.
    QList<QJsonObject> events() const;

    // The device state from the last reported command (the start-up state
    // before any): routing()[k] is the input shown on output k+1;
    // edid()[k] is the output whose EDID input k+1 took (0: its own).
    QVector<int> routing() const;
    QVector<int> edid() const;
    bool buzzer() const;

private:
    void readOutput();
    void handleEvent(const QJsonObject &event);
    bool waitFor(const std::function<bool()> &condition, int timeoutMs);

    QProcess m_process;
    QByteArray m_pending;
    QByteArray m_stderr;
    QList<QJsonObject> m_events;
    QList<QJsonObject> m_commands;
    QJsonObject m_state;
    quint16 m_port = 0;
    QString m_ptyPath;
    bool m_ready = false;
};
