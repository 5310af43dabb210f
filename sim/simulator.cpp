#include "simulator.h"

#include "eventlog.h"
#include "streamsession.h"

#include <QTimer>

Simulator::Simulator(MatrixDevice &device, EventLog &log, int replyDelayMs, int pauseMs, QObject *parent)
    : QObject(parent)
    , m_device(device)
    , m_log(log)
    , m_replyDelayMs(replyDelayMs)
    , m_pauseMs(pauseMs)
{
}

StreamSession *Simulator::createSession(const QString &source, std::function<bool(const QByteArray &)> writer,
                                        QObject *parent)
{
    auto *session = new StreamSession(source, std::move(writer), m_pauseMs, parent);
    connect(session, &StreamSession::frameReceived, this,
            [this, session](const CommandFramer::Frame &frame) { handle(session, frame); });
    return session;
}

void Simulator::handle(StreamSession *session, const CommandFramer::Frame &frame)
{
    CommandOutcome outcome;
    if (frame.discarded)
        outcome.detail = QStringLiteral("unknown command: %1 bytes without a terminator, dropped").arg(frame.size);
    else
        outcome = m_device.execute(frame.bytes);
    m_log.command(session->source(), frame.bytes, frame.size, outcome, m_device);
    if (outcome.reply.isEmpty())
        return;
    if (m_replyDelayMs <= 0) {
        answer(session, outcome.reply);
        return;
    }
    // The session is the timer's context: a client that leaves first takes its answer along.
    const QByteArray reply = outcome.reply;
    QTimer::singleShot(m_replyDelayMs, session, [this, session, reply] { answer(session, reply); });
}

void Simulator::answer(StreamSession *session, const QByteArray &reply)
{
    m_log.reply(session->source(), reply, session->write(reply));
}
