#pragma once

#include "link/reconnectschedule.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QQueue>
#include <QSerialPort>
#include <QTcpSocket>
#include <QTimer>

// The gateway's one link to the matrix, driven by signals only: it never
// waits, so a slow or silent device holds up nobody. Commands go out one at a
// time, in the order they were queued, at least the gap apart; a link that
// drops or cannot be made is tried again by the shared retry rule.
class DeviceLink : public QObject
{
    Q_OBJECT

public:
    struct Target
    {
        bool serial = false;
        // TCP: host and port; serial: the device and its baud rate.
        QString host;
        quint16 port = 0;
        qint32 baud = 9600;
    };

    // A connect that neither succeeds nor fails within this is given up.
    static constexpr int ConnectTimeoutMs = 3000;
    // Commands waiting for the link at most; more are refused.
    static constexpr int MaxQueued = 4096;

    DeviceLink(const Target &target, int gapMs, QObject *parent = nullptr);

    void start();
    bool isUp() const { return m_up; }
    QString where() const;
    // Queues one command (or one raw client's bytes, kept whole); false while
    // the link is down or too much is waiting. origin gets the matrix's answer.
    bool enqueue(const QByteArray &bytes, const QString &source, QObject *origin = nullptr);

signals:
    void upChanged(bool up, const QString &detail);
    void sent(const QByteArray &bytes, const QString &source);
    // Bytes from the matrix, for whoever sent the last command.
    void received(const QByteArray &bytes, QObject *origin);

private:
    struct Item
    {
        QByteArray bytes;
        QString source;
        QPointer<QObject> origin;
    };

    void tryOpen();
    void setUp(bool up, const QString &detail);
    void dropped(const QString &detail);
    void pump();
    void readDevice();
    QIODevice *device();

    Target m_target;
    int m_gapMs;
    QTcpSocket m_socket;
    QSerialPort m_serial;
    QTimer m_gap;
    QTimer m_retry;
    QTimer m_connectTimeout;
    ReconnectSchedule m_schedule;
    QQueue<Item> m_queue;
    QPointer<QObject> m_lastOrigin;
    bool m_up = false;
};
