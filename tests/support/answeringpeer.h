#pragma once

#include "support/ptypair.h"

#include <QByteArray>
#include <QMutex>
#include <QThread>

#include <atomic>
#include <memory>

// A device end in a thread of its own, so that it answers while the program is
// blocked waiting (the network card's answer to "HWC"): TCP on 127.0.0.1 (a new
// connection accepted after a close), or the master side of a pseudo-terminal.
class AnsweringPeer : public QThread
{
public:
    enum Transport { Tcp, Pty };

    explicit AnsweringPeer(Transport transport);
    ~AnsweringPeer() override;

    // False when it could not listen or open the pair.
    bool startPeer();
    QString portText() const { return QString::number(m_port); } // Tcp
    QString portName() const { return m_pty ? m_pty->slavePath() : QString(); } // Pty

    // Whenever the bytes since the last answer contain trigger, answer goes back at once ("|": a 10 ms pause).
    void setAnswer(const QByteArray &trigger, const QByteArray &answer);
    QByteArray received() const;
    void clearReceived();

protected:
    void run() override;

private:
    // What to write back after these bytes arrived.
    QByteArray take(const QByteArray &bytes);

    std::unique_ptr<PtyPair> m_pty;
    mutable QMutex m_mutex;
    QByteArray m_received;
    QByteArray m_pending;
    QByteArray m_trigger;
    QByteArray m_answer;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_port{-1};
};
