#include "gatewaylog.h"

#include <QHostAddress>
#include <QJsonDocument>

#include <cstdio>

GatewayLog::GatewayLog(bool json)
    : m_json(json)
{
}

void GatewayLog::listening(const QString &service, const QHostAddress &address, quint16 port)
{
    write({ { QStringLiteral("event"), QStringLiteral("listening") },
            { QStringLiteral("service"), service },
            { QStringLiteral("address"), address.toString() },
            { QStringLiteral("port"), port } },
          QStringLiteral("%1: listening on %2 port %3").arg(service, address.toString()).arg(port));
}

void GatewayLog::client(const QString &service, const QString &peer, bool connected, const QString &reason)
{
    QJsonObject event { { QStringLiteral("event"), QStringLiteral("client") },
                        { QStringLiteral("service"), service },
                        { QStringLiteral("peer"), peer },
                        { QStringLiteral("state"), connected ? QStringLiteral("connected")
                                                             : QStringLiteral("disconnected") } };
    QString text = QStringLiteral("%1: %2 %3").arg(service, peer, connected ? QStringLiteral("connected")
                                                                            : QStringLiteral("disconnected"));
    if (!reason.isEmpty()) {
        event.insert(QStringLiteral("reason"), reason);
        text += QStringLiteral(" (%1)").arg(reason);
    }
    write(event, text);
}

void GatewayLog::link(bool up, const QString &where, const QString &detail)
{
    write({ { QStringLiteral("event"), QStringLiteral("link") },
            { QStringLiteral("state"), up ? QStringLiteral("up") : QStringLiteral("down") },
            { QStringLiteral("device"), where },
            { QStringLiteral("detail"), detail } },
          QStringLiteral("link %1 %2: %3").arg(where, up ? QStringLiteral("up") : QStringLiteral("down"), detail));
}

void GatewayLog::sent(const QByteArray &bytes, const QString &source)
{
    // Latin-1 keeps every byte as one character, whatever a raw client sent.
    const QString text = QString::fromLatin1(bytes);
    write({ { QStringLiteral("event"), QStringLiteral("sent") },
            { QStringLiteral("text"), text },
            { QStringLiteral("source"), source } },
          QStringLiteral("sent \"%1\" for %2").arg(text, source));
}

void GatewayLog::error(const QString &message)
{
    write({ { QStringLiteral("event"), QStringLiteral("error") }, { QStringLiteral("message"), message } },
          QStringLiteral("error: ") + message);
}

void GatewayLog::write(const QJsonObject &event, const QString &text)
{
    const QByteArray line = (m_json ? QJsonDocument(event).toJson(QJsonDocument::Compact) : text.toUtf8()) + '\n';
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stdout);
    std::fflush(stdout);
}
