#pragma once

#include "arrivallog.h"
#include "support/ptypair.h"

#include <QThread>

#include <atomic>

// The device end of a serial link: a pseudo-terminal pair whose master side a
// thread of its own reads the moment bytes arrive.
class PtyArrivalPeer : public QThread
{
public:
    explicit PtyArrivalPeer(ArrivalLog &log);
    ~PtyArrivalPeer() override;

    bool isValid() const;
    // The side the program opens as its serial port.
    QString portName() const;
    void stop();

protected:
    void run() override;

private:
    ArrivalLog &m_log;
    PtyPair m_pty;
    std::atomic<bool> m_stop { false };
};
