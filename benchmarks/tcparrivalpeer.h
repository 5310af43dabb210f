#pragma once

#include "arrivallog.h"

#include <QThread>

#include <atomic>

// The device end of a TCP link on 127.0.0.1, in a thread of its own so that it
// takes bytes the moment they arrive, whatever the GUI thread is doing.
class TcpArrivalPeer : public QThread
{
public:
    explicit TcpArrivalPeer(ArrivalLog &log);
    ~TcpArrivalPeer() override;

    // Starts the thread and waits until it listens; 0 when it could not.
    quint16 listen();
    void stop();

protected:
    void run() override;

private:
    ArrivalLog &m_log;
    std::atomic<bool> m_stop { false };
    std::atomic<int> m_port { -1 };
};
