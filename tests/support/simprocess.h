#pragma once

#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QVector>

#include <functional>

// The built matrix-sim on 127.0.0.1 as a real device peer, with the JSON line it reports for every event. Commands
// without terminator (SAVE, CALL, HWS) count as complete after 50 ms of silence: wait for one before sending the next.
class SimProcess : public QObject
{
    Q_OBJECT

public:
    SimProcess() { connect(&m_process, &QProcess::readyReadStandardOutput, this, &SimProcess::readOutput); }
    ~SimProcess() override;

    // Starts it with "--listen 127.0.0.1:0 --json --watch-stdin" and extraArgs
    // (e.g. {"--pty"}); false when it is not ready within 5 s.
    bool start(const QStringList &extraArgs = {});
    void stop();

    quint16 port() const { return m_port; }
    QString portText() const { return QString::number(m_port); }
    QString ptyPath() const { return m_ptyPath; } // only with --pty

    // Runs the event loop until count commands have been reported since start().
    bool waitForCommands(int count, int timeoutMs = 3000);
    QJsonObject lastCommand() const { return m_commands.value(m_commands.size() - 1); }
    // Every JSON line so far, start-up, "client" and "reply" events included.
    QList<QJsonObject> events() const { return m_events; }
    // routing()[k]: the input output k+1 shows after the last command.
    QVector<int> routing() const;

private:
    void readOutput();
    bool waitFor(const std::function<bool()> &condition, int timeoutMs);

    QProcess m_process;
    QList<QJsonObject> m_events;
    QList<QJsonObject> m_commands;
    quint16 m_port = 0;
    QString m_ptyPath;
    bool m_ready = false;
};
