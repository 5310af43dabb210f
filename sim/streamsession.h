#pragma once

#include "commandframer.h"

#include <QObject>
#include <QTimer>

#include <functional>

// One byte stream to the device (a TCP client or the pseudo-terminal): its own
// framer, the pause that ends a command without terminator, and the way back.
class StreamSession : public QObject
{
    Q_OBJECT

public:
    // writer sends bytes back to the client and returns false when it cannot take
    // them; after pauseMs of silence a pending command without terminator is complete.
    StreamSession(const QString &source, std::function<bool(const QByteArray &)> writer, int pauseMs,
                  QObject *parent = nullptr);

    QString source() const;
    void feed(const QByteArray &bytes);
    // The stream closed: what is pending is a command now.
    void finish();
    bool write(const QByteArray &bytes);

signals:
    void frameReceived(const CommandFramer::Frame &frame);

private:
    void deliver(const QList<CommandFramer::Frame> &frames);

    QString m_source;
    std::function<bool(const QByteArray &)> m_writer;
    CommandFramer m_framer;
    QTimer m_pause;
};
