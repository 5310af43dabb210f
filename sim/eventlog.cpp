#include "eventlog.h"

#include "commandoutcome.h"
#include "matrixdevice.h"

#include <QHostAddress>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStringList>

#include <cstdio>

namespace {

// Garbage can be long; the text log shows its head and its size (JSON has it whole).
constexpr int MaxShownBytes = 80;

QJsonArray toArray(const QVector<int> &values)
{
    QJsonArray array;
    for (int v : values)
        array.append(v);
    return array;
}

// The device state goes with every command, so that a reader never has to replay.
void addState(QJsonObject &event, const MatrixDevice &device)
{
    const NetworkCard &card = device.network();
    event.insert(QStringLiteral("routing"), toArray(device.routing()));
    event.insert(QStringLiteral("edid"), toArray(device.edid()));
    event.insert(QStringLiteral("buzzer"), device.buzzer());
    event.insert(QStringLiteral("network"), QJsonObject { { QStringLiteral("ip"), card.ip },
                                                          { QStringLiteral("port"), card.port },
                                                          { QStringLiteral("subnet"), card.subnet },
                                                          { QStringLiteral("gateway"), card.gateway },
                                                          { QStringLiteral("mac"), card.mac } });
}

QString joined(const QVector<int> &values)
{
    QStringList parts;
    parts.reserve(values.size());
    for (int v : values)
        parts << QString::number(v);
    return parts.join(QLatin1Char(' '));
}

QString hostText(const QHostAddress &address)
{
    if (address.protocol() == QAbstractSocket::IPv6Protocol)
        return QLatin1Char('[') + address.toString() + QLatin1Char(']');
    return address.toString();
}

} // namespace

EventLog::EventLog(bool json)
    : m_json(json)
{
}

void EventLog::listening(const QHostAddress &address, quint16 port)
{
    QJsonObject event { { QStringLiteral("event"), QStringLiteral("listening") },
                        { QStringLiteral("address"), address.toString() },
                        { QStringLiteral("port"), port } };
    write(event, QStringLiteral("listening on %1:%2 (TCP)").arg(hostText(address)).arg(port));
}

void EventLog::pty(const QString &path)
{
    QJsonObject event { { QStringLiteral("event"), QStringLiteral("pty") }, { QStringLiteral("path"), path } };
    write(event, QStringLiteral("serial port: %1 (open it as the matrix's serial port)").arg(path));
}

void EventLog::ready(const MatrixDevice &device)
{
    QJsonObject event { { QStringLiteral("event"), QStringLiteral("ready") },
                        { QStringLiteral("id"), device.id() },
                        { QStringLiteral("inputs"), device.inputCount() },
                        { QStringLiteral("outputs"), device.outputCount() } };
    addState(event, device);
    write(event, QStringLiteral("ready: matrix %1, %2 inputs, %3 outputs")
                     .arg(device.id())
                     .arg(device.inputCount())
                     .arg(device.outputCount()));
}

void EventLog::client(const QString &source, bool connected, const QString &peer)
{
    QJsonObject event { { QStringLiteral("event"), QStringLiteral("client") },
                        { QStringLiteral("source"), source },
                        { QStringLiteral("state"), connected ? QStringLiteral("connected")
                                                             : QStringLiteral("disconnected") },
                        { QStringLiteral("peer"), peer } };
    write(event, connected ? QStringLiteral("%1 connected from %2").arg(source, peer)
                           : QStringLiteral("%1 disconnected").arg(source));
}

void EventLog::command(const QString &source, const QByteArray &text, qint64 size, const CommandOutcome &outcome,
                       const MatrixDevice &device)
{
    const QByteArray shown = text.left(MaxShownBytes);
    const bool cut = size > shown.size();
    QJsonObject event { { QStringLiteral("event"), QStringLiteral("command") },
                        { QStringLiteral("source"), source },
                        // Latin-1 keeps every byte as one character, NULs included.
                        { QStringLiteral("text"), QString::fromLatin1(text) },
                        { QStringLiteral("size"), size },
                        { QStringLiteral("result"), CommandOutcome::resultName(outcome.result) },
                        { QStringLiteral("action"), outcome.action },
                        { QStringLiteral("detail"), outcome.detail } };
    addState(event, device);
    if (outcome.address >= 0)
        event.insert(QStringLiteral("address"), outcome.address);
    if (outcome.scene > 0)
        event.insert(QStringLiteral("scene"), outcome.scene);
    if (!outcome.reply.isEmpty())
        event.insert(QStringLiteral("reply"), QString::fromLatin1(outcome.reply));

    QString line = QStringLiteral("%1  \"%2\"").arg(source, printable(shown));
    if (cut)
        line += QStringLiteral("... (%1 bytes)").arg(size);
    line += QStringLiteral("  %1: %2").arg(CommandOutcome::resultName(outcome.result), outcome.detail);
    const bool routingChanged = outcome.result == CommandOutcome::Result::Ok
        && (outcome.action.startsWith(QLatin1String("route")) || outcome.action == QLatin1String("one-by-one")
            || outcome.action == QLatin1String("scene-call"));
    if (routingChanged)
        line += QStringLiteral("  [outputs 1..%1 show: %2]").arg(device.outputCount()).arg(joined(device.routing()));
    write(event, line);
}

void EventLog::reply(const QString &source, const QByteArray &bytes, bool sent)
{
    QJsonObject event { { QStringLiteral("event"), QStringLiteral("reply") },
                        { QStringLiteral("source"), source },
                        { QStringLiteral("text"), QString::fromLatin1(bytes) },
                        { QStringLiteral("sent"), sent } };
    write(event, sent ? QStringLiteral("%1  answered \"%2\"").arg(source, printable(bytes))
                      : QStringLiteral("%1  answer \"%2\" dropped: the client is not reading")
                            .arg(source, printable(bytes)));
}

void EventLog::error(const QString &message)
{
    QJsonObject event { { QStringLiteral("event"), QStringLiteral("error") }, { QStringLiteral("message"), message } };
    write(event, QStringLiteral("error: ") + message);
    const QByteArray text = "matrix-sim: " + message.toLocal8Bit() + '\n';
    std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stderr);
    std::fflush(stderr);
}

QString EventLog::printable(const QByteArray &bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7f && c != '\\')
            out += QLatin1Char(c);
        else
            out += QString::asprintf("\\x%02X", byte);
    }
    return out;
}

void EventLog::write(const QJsonObject &event, const QString &text)
{
    const QByteArray line = (m_json ? QJsonDocument(event).toJson(QJsonDocument::Compact) : text.toUtf8()) + '\n';
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stdout);
    std::fflush(stdout);
}
