#pragma once

#include "config/deviceentry.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>

// The address book "ipmanager" in the working directory: read whole when the
// store is created, written whole at every change and when it is destroyed.
class DeviceStore
{
public:
    enum class Access { ReadWrite, ReadOnly };

    DeviceStore();
    // The book in another file. A read-only store never writes that file, nor
    // a copy of it beside it: matrixctl reads the window's book this way.
    explicit DeviceStore(const QString &path, Access access = Access::ReadWrite);
    ~DeviceStore();

    QList<DeviceEntry> entries() const;
    void setEntries(const QList<DeviceEntry> &entries);

private:
    Q_DISABLE_COPY(DeviceStore)

    void load();
    void save();
    // Keeps content that the next save would replace without understanding it.
    // kept and notKept: the console's notices, with %1 for the file and %2 for the copy.
    void keepUnreadableCopy(const QByteArray &content, const char *kept, const char *notKept);

    QList<DeviceEntry> m_entries;
    QFile m_file;
    QJsonDocument m_document;
    QJsonObject m_root;
    // The file is there but could not be read; it is not written over then.
    bool m_unreadable = false;
    bool m_readOnly = false;
    // The file held no address book: it is written only once the list changes.
    bool m_unparsed = false;
};
