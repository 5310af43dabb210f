#pragma once

#include "link/protocoladapter.h"
#include "link/reconnectschedule.h"

#include <QObject>
#include <QTimer>

// Keeps a link that the device or the system dropped: tries it again in the
// background by the shared retry rule until it is back or the operator takes
// the link in hand (connects, disconnects, or stops the retries). A link the
// operator closed is never tried again.
class LinkKeeper : public QObject
{
    Q_OBJECT

public:
    // A device that does not answer at all is given this long per try.
    static constexpr int TryTimeoutMs = 3000;

    explicit LinkKeeper(QObject *parent = nullptr);
    ~LinkKeeper() override;

    bool isRetrying(protocoladapter::LinkKind kind) const;
    // The operator's Disconnect while the link is being tried again.
    void stop(protocoladapter::LinkKind kind);

signals:
    void retrying(protocoladapter::LinkKind kind);
    void restored(protocoladapter::LinkKind kind);
    void notice(const QString &text);

private:
    struct Retry
    {
        ReconnectSchedule schedule;
        QTimer timer;
        bool active = false;
        // A try is under way; the timer then bounds it.
        bool trying = false;
    };

    void onDropped(protocoladapter::LinkKind kind);
    void onRetryDone(protocoladapter::LinkKind kind, bool up);
    void scheduleNext(protocoladapter::LinkKind kind);
    void onTimer(protocoladapter::LinkKind kind);
    void end(protocoladapter::LinkKind kind);
    QString linkName(protocoladapter::LinkKind kind) const;

    Retry m_retry[2];
};
