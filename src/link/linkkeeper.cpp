#include "link/linkkeeper.h"

#include "link/protocoladapter.h"

namespace {

constexpr protocoladapter::LinkKind Kinds[] = {protocoladapter::SerialLink, protocoladapter::TcpLink};

} // namespace

LinkKeeper::LinkKeeper(QObject *parent)
    : QObject(parent)
{
    protocoladapter &adapter = protocoladapter::instance();
    for (protocoladapter::LinkKind kind : Kinds) {
        m_retry[kind].timer.setSingleShot(true);
        connect(&m_retry[kind].timer, &QTimer::timeout, this, [this, kind] { onTimer(kind); });
    }
    connect(&adapter, &protocoladapter::linkDropped, this, &LinkKeeper::onDropped);
    connect(&adapter, &protocoladapter::retryDone, this, &LinkKeeper::onRetryDone);
    // Whatever the operator does with a link replaces our tries.
    connect(&adapter, &protocoladapter::linkTaken, this, [this](protocoladapter::LinkKind kind) { end(kind); });
}

// Closing the program ends the tries; a connect under way is given up.
LinkKeeper::~LinkKeeper()
{
    for (protocoladapter::LinkKind kind : Kinds)
        end(kind);
}

bool LinkKeeper::isRetrying(protocoladapter::LinkKind kind) const
{
    return m_retry[kind].active;
}

void LinkKeeper::stop(protocoladapter::LinkKind kind)
{
    if (!isRetrying(kind))
        return;
    end(kind);
    emit notice(tr("%1: stopped trying the link again").arg(linkName(kind)));
}

void LinkKeeper::end(protocoladapter::LinkKind kind)
{
    Retry &retry = m_retry[kind];
    if (retry.active)
        protocoladapter::instance().stopRetry(kind);
    retry.active = false;
    retry.trying = false;
    retry.timer.stop();
    retry.schedule.reset();
}

void LinkKeeper::onDropped(protocoladapter::LinkKind kind)
{
    if (m_retry[kind].active)
        return;
    m_retry[kind].active = true;
    m_retry[kind].schedule.reset();
    // Said once: the tries themselves are quiet until the link is back.
    emit notice(tr("%1: trying the link again in the background").arg(linkName(kind)));
    emit retrying(kind);
    scheduleNext(kind);
}

void LinkKeeper::onTimer(protocoladapter::LinkKind kind)
{
    Retry &retry = m_retry[kind];
    if (retry.trying) {
        // No answer either way, as from a host that is not on the network yet.
        protocoladapter::instance().stopRetry(kind);
        onRetryDone(kind, false);
        return;
    }
    retry.trying = true;
    retry.timer.start(TryTimeoutMs);
    protocoladapter::instance().retryLink(kind);
}

void LinkKeeper::onRetryDone(protocoladapter::LinkKind kind, bool up)
{
    if (!isRetrying(kind))
        return;
    m_retry[kind].trying = false;
    if (!up) {
        scheduleNext(kind);
        return;
    }
    end(kind);
    emit notice(tr("%1: the link is back").arg(linkName(kind)));
    emit restored(kind);
}

void LinkKeeper::scheduleNext(protocoladapter::LinkKind kind)
{
    m_retry[kind].timer.start(m_retry[kind].schedule.nextDelayMs());
}

QString LinkKeeper::linkName(protocoladapter::LinkKind kind) const
{
    const QString target = protocoladapter::instance().linkTarget(kind);
    return kind == protocoladapter::TcpLink ? tr("TCP link to %1").arg(target) : tr("serial link %1").arg(target);
}
