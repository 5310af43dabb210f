#pragma once

#include "support/ptypair.h"

#include <QByteArray>
#include <QMutex>
#include <QThread>

#include <atomic>
#include <functional>
#include <memory>

// A device end that runs in a thread of its own, so that it answers while the
// program is blocked waiting for the answer (the network card's reply to
// "HWC"). TCP on 127.0.0.1 (one connection at a time, a new one accepted after
// a close), or the master side of a pseudo-terminal pair.
class AnsweringPeer : public QThread
{
public:
    enum Transport { Tcp, Pty };

    explicit AnsweringPeer(Transport transport);
    ~AnsweringPeer() override;

    // Starts the thread; false when it could not listen or open the pair.
    bool startPeer();
    // The TCP port as text (Tcp), or the device path to open (Pty).
    QString portText() const;
    QString portName() const;

    // Whenever the bytes since the last answer contain trigger, answer goes back
    // at once (an empty answer: silence).
    void setAnswer(const QByteArray &trigger, const QByteArray &answer);
    QByteArray received() const;
    void clearReceived();

protected:
    void run() override;

private:
    void take(const QByteArray &bytes, const std::function<void(const QByteArray &)> &reply);
    void runTcp();
    void runPty();

    const Transport m_transport;
    std::unique_ptr<PtyPair> m_pty;
    mutable QMutex m_mutex;
    QByteArray m_received;
    QByteArray m_pending;
    QByteArray m_trigger;
    QByteArray m_answer;
    std::atomic<bool> m_stop { false };
    std::atomic<bool> m_linked { false };
    std::atomic<int> m_port { -1 };
};
