#include "ctlbook.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

namespace {

// A port written as a JSON number is taken as that number.
QString text(const QJsonValue &value)
{
    const double number = value.toDouble(-1);
    if (value.isDouble() && number >= 0 && number == static_cast<qint64>(number))
        return QString::number(static_cast<qint64>(number));
    return value.toString();
}

} // namespace

bool CtlBook::read(const QString &path)
{
    m_path = path;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read the address book \"%1\": %2").arg(path, file.errorString()));
    const QByteArray content = file.readAll();
    if (content.trimmed().isEmpty())
        return true;
    QJsonParseError error {};
    const QJsonDocument document = QJsonDocument::fromJson(content, &error);
    if (error.error != QJsonParseError::NoError)
        return fail(QStringLiteral("the address book \"%1\" is not valid JSON: %2 at byte %3")
                        .arg(path, error.errorString()).arg(error.offset));
    const QJsonValue items = document.object().value(QStringLiteral("items"));
    if (!document.isObject() || !(items.isArray() || items.isUndefined()))
        return fail(QStringLiteral("the address book \"%1\" holds no list of devices").arg(path));
    const QJsonArray array = items.toArray();
    for (const QJsonValue &item : array) {
        const QJsonObject object = item.toObject();
        DeviceEntry entry;
        entry.alias = text(object.value(QStringLiteral("alias")));
        entry.ip = text(object.value(QStringLiteral("ip")));
        entry.port = text(object.value(QStringLiteral("port")));
        m_entries.append(entry);
    }
    return true;
}

QList<DeviceEntry> CtlBook::entries() const
{
    return m_entries;
}

bool CtlBook::find(const QString &alias, DeviceEntry *entry)
{
    QList<int> found;
    for (int i = 0; i < m_entries.size(); ++i) {
        if (m_entries.at(i).alias == alias)
            found << i;
    }
    if (found.isEmpty())
        return fail(QStringLiteral("no device \"%1\" in \"%2\"").arg(alias, m_path));
    const DeviceEntry &first = m_entries.at(found.first());
    if (found.size() > 1) {
        const DeviceEntry &second = m_entries.at(found.at(1));
        return fail(QStringLiteral("device \"%1\" is in \"%2\" twice: entries %3 (%4:%5) and %6 (%7:%8)")
                        .arg(alias, m_path).arg(found.first() + 1).arg(first.ip, first.port)
                        .arg(found.at(1) + 1).arg(second.ip, second.port));
    }
    *entry = first;
    return true;
}

QString CtlBook::errorText() const
{
    return m_error;
}

bool CtlBook::fail(const QString &text)
{
    m_error = text;
    return false;
}
