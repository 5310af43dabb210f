#include "ctloutput.h"

#include "link/hextext.h"
#include "link/logstamp.h"

#include <QJsonDocument>
#include <QJsonObject>

CtlOutput::CtlOutput(bool json, bool quiet)
    : m_json(json)
    , m_quiet(quiet)
{
}

// The plain line carries the bytes themselves; JSON needs text, so "hex" is
// what tells bytes that are no text in the local encoding.
void CtlOutput::sent(const QByteArray &bytes) const
{
    if (m_quiet)
        return;
    const QString stamp = LogStamp::now();
    const QJsonObject object { { QStringLiteral("time"), stamp },
                               { QStringLiteral("sent"), QString::fromLocal8Bit(bytes) },
                               { QStringLiteral("hex"), HexText::toHexText(bytes) } };
    if (m_json)
        print(object, QString());
    else
        write(stdout, stamp.toLatin1() + ' ' + bytes + '\n');
}

void CtlOutput::netSettings(const DeviceEntry &entry) const
{
    const QJsonObject object { { QStringLiteral("ip"), entry.ip },
                               { QStringLiteral("port"), entry.port },
                               { QStringLiteral("subnet"), entry.subnet },
                               { QStringLiteral("gateway"), entry.gateway },
                               { QStringLiteral("mac"), entry.mac } };
    print(object, QStringLiteral("ip %1\nport %2\nsubnet %3\ngateway %4\nmac %5")
                      .arg(entry.ip, entry.port, entry.subnet, entry.gateway, entry.mac));
}

// Tabs apart, as an alias may hold blanks.
void CtlOutput::device(const DeviceEntry &entry) const
{
    const QJsonObject object { { QStringLiteral("alias"), entry.alias },
                               { QStringLiteral("ip"), entry.ip },
                               { QStringLiteral("port"), entry.port } };
    print(object, QStringList { entry.alias, entry.ip, entry.port }.join(QLatin1Char('\t')));
}

void CtlOutput::error(const QString &text)
{
    write(stderr, "matrixctl: " + text.toLocal8Bit() + '\n');
}

void CtlOutput::write(std::FILE *stream, const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fflush(stream);
}

void CtlOutput::print(const QJsonObject &object, const QString &plain) const
{
    write(stdout, m_json ? QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n' : plain.toLocal8Bit() + '\n');
}
