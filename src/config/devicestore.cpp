#include "config/devicestore.h"

#include "config/damagedcopy.h"
#include "config/filenotices.h"
#include "config/storetrace.h"

#include <QDebug>
#include <QDir>
#include <QJsonArray>
#include <QJsonValue>
#include <QSaveFile>

namespace {

const QString StoreName = QStringLiteral("ipmanager");
const QString ItemsKey = QStringLiteral("items");
const QString IpKey = QStringLiteral("ip");
const QString PortKey = QStringLiteral("port");
const QString SubnetKey = QStringLiteral("subnet");
const QString GatewayKey = QStringLiteral("gateway");
const QString MacKey = QStringLiteral("mac");
const QString AliasKey = QStringLiteral("alias");

// A missing key or a value of another type reads as empty text; wrongType
// tells whether something was there that the next write would lose.
QString stringMember(const QJsonObject &object, const QString &key, bool *wrongType)
{
    const QJsonValue value = object.value(key);
    if (!value.isString() && !value.isUndefined())
        *wrongType = true;
    return value.toString();
}

// Qt's parser files a member whose name holds a U+FEFF where a lookup by name
// no longer finds it ("items" would read as missing and be written twice), and
// members whose names hold a raw NUL in an order that changes once the file is
// written and read again. Filing every member anew, at every depth, puts both
// right.
QJsonValue refiled(const QJsonValue &value)
{
    if (value.isObject()) {
        const QJsonObject object = value.toObject();
        QJsonObject copy;
        for (auto it = object.begin(); it != object.end(); ++it)
            copy.insert(it.key(), refiled(it.value()));
        return copy;
    }
    if (value.isArray()) {
        const QJsonArray array = value.toArray();
        QJsonArray copy;
        for (const QJsonValue &element : array)
            copy.append(refiled(element));
        return copy;
    }
    return value;
}

} // namespace

DeviceStore::DeviceStore()
{
    const QString path = QDir::currentPath() + QLatin1Char('/') + StoreName;
    qCDebug(lcStore) << "currentPath" << path;
    m_file.setFileName(path);
    load();
}

DeviceStore::DeviceStore(const QString &path, Access access)
    : m_file(path)
    , m_readOnly(access == Access::ReadOnly)
{
    load();
}

DeviceStore::~DeviceStore()
{
    // A file that was no address book stays as it is while the list is as it came up.
    if (!m_unparsed)
        save();
    m_entries.clear();
}

QList<DeviceEntry> DeviceStore::entries() const
{
    return m_entries;
}

// On disk at once: a program killed later keeps what the operator entered.
void DeviceStore::setEntries(const QList<DeviceEntry> &entries)
{
    if (entries == m_entries)
        return;
    m_entries = entries;
    m_unparsed = false;
    save();
}

void DeviceStore::load()
{
    // Read as it is on disk, so that a copy kept below is the file byte for
    // byte; the parser gets it the way text mode reads it (without any CR).
    QByteArray raw;
    if (m_file.open(QIODevice::ReadOnly)) {
        raw = m_file.readAll();
        m_file.close();
    } else if (m_file.exists()) {
        m_unreadable = true;
        FileNotices::instance().report(
            QT_TRANSLATE_NOOP("FileNotices", "%1 could not be read (%2); the device list starts empty and the file is not written over"),
            {m_file.fileName(), m_file.errorString()});
    }
    QByteArray content = raw;
    content.replace('\r', QByteArray());

    m_document = QJsonDocument::fromJson(content);
    m_root = m_document.isObject() ? refiled(m_document.object()).toObject() : QJsonObject();
    // An empty file holds nothing to lose; anything else that does not parse is kept.
    m_unparsed = !content.trimmed().isEmpty() && !m_document.isObject();
    if (m_unparsed) {
        keepUnreadableCopy(raw, QT_TRANSLATE_NOOP("FileNotices", "%1 is not a valid JSON address book; the device list starts "
                                                                 "empty and the file stays as it is until the list changes; "
                                                                 "a copy is kept as %2"),
                           QT_TRANSLATE_NOOP("FileNotices", "%1 is not a valid JSON address book; the device list starts "
                                                            "empty and the file stays as it is until the list changes; "
                                                            "no copy could be kept as %2"));
    }

    const QJsonValue itemsValue = m_root.value(ItemsKey);
    bool unexpected = !itemsValue.isUndefined() && !itemsValue.isArray();
    const QJsonArray items = itemsValue.toArray();
    for (const QJsonValue &item : items) {
        if (!item.isObject())
            unexpected = true;
        const QJsonObject object = item.toObject();
        DeviceEntry entry;
        entry.ip = stringMember(object, IpKey, &unexpected);
        entry.port = stringMember(object, PortKey, &unexpected);
        entry.subnet = stringMember(object, SubnetKey, &unexpected);
        entry.gateway = stringMember(object, GatewayKey, &unexpected);
        entry.mac = stringMember(object, MacKey, &unexpected);
        entry.alias = stringMember(object, AliasKey, &unexpected);
        m_entries.append(entry);
    }
    if (unexpected && m_document.isObject()) {
        keepUnreadableCopy(raw, QT_TRANSLATE_NOOP("FileNotices", "%1 holds values that are not device texts; they read as empty; "
                                                                 "a copy is kept as %2"),
                           QT_TRANSLATE_NOOP("FileNotices", "%1 holds values that are not device texts; they read as empty; "
                                                            "no copy could be kept as %2"));
    }
}

void DeviceStore::keepUnreadableCopy(const QByteArray &content, const char *kept, const char *notKept)
{
    if (!m_readOnly)
        keepDamagedCopy(m_file.fileName(), content, kept, notKept);
}

void DeviceStore::save()
{
    if (m_readOnly)
        return;
    // Writing over a file that could not be read would lose it for good.
    if (m_unreadable) {
        qCDebug(lcStore) << "create file" << m_file.fileName() << "not written: it could not be read at start";
        return;
    }
    m_root.remove(ItemsKey);
    QJsonArray items;
    for (const DeviceEntry &entry : qAsConst(m_entries)) {
        QJsonObject object;
        object.insert(IpKey, entry.ip);
        object.insert(PortKey, entry.port);
        object.insert(SubnetKey, entry.subnet);
        object.insert(GatewayKey, entry.gateway);
        object.insert(MacKey, entry.mac);
        object.insert(AliasKey, entry.alias);
        items.append(object);
    }
    m_root.insert(ItemsKey, items);
    m_document.setObject(m_root);

    // Written beside the old file and renamed over it, so a failed write leaves it whole.
    QSaveFile file(m_file.fileName());
    const QByteArray content = m_document.toJson(QJsonDocument::Compact);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit())
        FileNotices::instance().report(QT_TRANSLATE_NOOP("FileNotices", "%1 could not be written (%2); the device list of this run is lost"),
                                       {m_file.fileName(), file.errorString()});
}
