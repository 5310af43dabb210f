#include "streamsession.h"

StreamSession::StreamSession(const QString &source, std::function<bool(const QByteArray &)> writer, int pauseMs,
                             QObject *parent)
    : QObject(parent)
    , m_source(source)
    , m_writer(std::move(writer))
{
    m_pause.setSingleShot(true);
    m_pause.setInterval(pauseMs);
    connect(&m_pause, &QTimer::timeout, this, [this] { deliver(m_framer.flush()); });
}

QString StreamSession::source() const
{
    return m_source;
}

void StreamSession::feed(const QByteArray &bytes)
{
    deliver(m_framer.feed(bytes));
    if (m_framer.hasPending())
        m_pause.start();
    else
        m_pause.stop();
}

void StreamSession::finish()
{
    m_pause.stop();
    deliver(m_framer.flush());
}

bool StreamSession::write(const QByteArray &bytes)
{
    return m_writer && m_writer(bytes);
}

void StreamSession::deliver(const QList<CommandFramer::Frame> &frames)
{
    for (const CommandFramer::Frame &frame : frames)
        emit frameReceived(frame);
}
