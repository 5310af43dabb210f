#pragma once

#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QVector>

#include <functional>

// Runs the built matrix-sim as a real device peer for a test.
//
//   SimProcess sim;
//   QVERIFY(sim.start({"--pty"}));   // "--listen 127.0.0.1:0 --json --watch-stdin" come first
//   protocoladapter::instance().connectTcp("127.0.0.1", sim.portText());
//   ... or open sim.ptyPath() as the serial port ...
//   QVERIFY(sim.waitForCommands(1));
//   QCOMPARE(sim.lastCommand().value("text").toString(), QString("1D3V5."));
//   QCOMPARE(sim.routing().at(4), 3);        // output 5 shows input 3
//
// The simulator reports every command as a JSON line; this class collects them.
// Each command object has: "text" (the bytes as Latin-1 text), "size", "source"
// ("tcp:N" or "pty"), "result" ("ok", "ignored", "invalid", "unknown"),
// "action" ("route", "route-all", "one-by-one", "scene-save", "scene-call",
// "buzzer", "edid", "net-set", "net-query", "net-reset"; empty when unknown),
// "detail", the state after the command ("routing", "edid", "buzzer",
// "network" {ip, port, subnet, gateway, mac}), and where they apply "address"
// (the matrix ID the command carried), "scene" and "reply" (the HWC answer).
// Commands without terminator (SAVE, CALL, HWS) that are not followed by another
// command are taken as complete after 50 ms of silence ("--pause MS" changes it):
// wait for such a command to be reported before sending the next one, or
// "1SAVE2" + "1D3V5." arrives as "1SAVE21D3V5.".
// Everything runs on 127.0.0.1 only. The simulator is stopped in the destructor.
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
    bool isRunning() const;
    qint64 processId() const;

    // The TCP port it listens on (127.0.0.1), also as text for connectTcp().
    quint16 port() const;
    QString portText() const;
    // The serial device to open as the matrix's serial port (only with --pty).
    QString ptyPath() const;

    // Waits (running the event loop) until at least count commands have been
    // reported since start() or the last clearCommands().
    bool waitForCommands(int count, int timeoutMs = 3000);
    QList<QJsonObject> commands() const;
    // The last command reported (an empty object when there is none).
    QJsonObject lastCommand() const;
    void clearCommands();
    // Every JSON line so far, start-up events ("listening", "pty", "ready"),
    // "client" and "reply" events included.
    QList<QJsonObject> events() const;

    // The device state from the last reported command (the start-up state
    // before any): routing()[k] is the input shown on output k+1;
    // edid()[k] is the output whose EDID input k+1 took (0: its own).
    QVector<int> routing() const;
    QVector<int> edid() const;
    bool buzzer() const;
    QJsonObject network() const;

    // Everything the simulator wrote to stderr (start-up errors).
    QByteArray errorOutput() const;

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
