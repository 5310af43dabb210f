#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>

class QHostAddress;

// What the gateway does, one line per event on stdout, flushed at once so
// that journald keeps it in order: readable text, or one JSON object a line.
class GatewayLog
{
public:
    explicit GatewayLog(bool json);

    void listening(const QString &service, const QHostAddress &address, quint16 port);
    // reason: why a client was turned away or dropped, empty for a plain connect or disconnect.
    void client(const QString &service, const QString &peer, bool connected, const QString &reason = QString());
    void link(bool up, const QString &where, const QString &detail);
    void sent(const QByteArray &bytes, const QString &source);
    void error(const QString &message);

private:
    void write(const QJsonObject &event, const QString &text);

    bool m_json;
};
