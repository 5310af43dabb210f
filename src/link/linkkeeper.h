#pragma once

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

    bool isRetrying(int kind) const;
    // The operator's Disconnect while the link is being tried again.
    void stop(int kind);

signals:
    void retrying(int kind);
    void restored(int kind);
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

    void onDropped(int kind);
    void onRetryDone(int kind, bool up);
    void scheduleNext(int kind);
    void onTimer(int kind);
    void end(int kind);
    QString linkName(int kind) const;

    Retry m_retry[2];
};
