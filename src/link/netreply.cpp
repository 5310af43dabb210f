#include "link/netreply.h"

#include <QStringList>

namespace {

const QString Prefix = QStringLiteral("HNW");

} // namespace

NetReply::Result NetReply::parse(const QString &reply, DeviceEntry *entry, int *fieldCount)
{
    if (fieldCount)
        *fieldCount = 0;
    if (!reply.startsWith(Prefix, Qt::CaseSensitive))
        return Result::NoPrefix;
    const QStringList fields = reply.mid(Prefix.size()).split(QLatin1Char(','));
    if (fieldCount)
        *fieldCount = fields.size();
    if (fields.size() < FieldCount)
        return Result::TooFewFields;
    entry->ip = fields.at(0);
    entry->port = fields.at(1);
    entry->subnet = fields.at(2);
    entry->gateway = fields.at(3);
    entry->mac = fields.at(4);
    return Result::Ok;
}
