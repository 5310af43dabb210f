#pragma once

#include "commandframer.h"
#include "matrixdevice.h"

#include <QObject>

#include <functional>

class EventLog;
class StreamSession;

// Runs the commands of every stream through the one device, logs each of them
// and sends the device's answers back, after the configured delay.
class Simulator : public QObject
{
    Q_OBJECT

public:
    Simulator(MatrixDevice &device, EventLog &log, int replyDelayMs, int pauseMs, QObject *parent = nullptr);

    // A session for one new stream, owned by parent, whose commands go to the device.
    StreamSession *createSession(const QString &source, std::function<bool(const QByteArray &)> writer,
                                 QObject *parent);

private:
    void handle(StreamSession *session, const CommandFramer::Frame &frame);
    void answer(StreamSession *session, const QByteArray &reply);

    MatrixDevice &m_device;
    EventLog &m_log;
    int m_replyDelayMs;
    int m_pauseMs;
};
