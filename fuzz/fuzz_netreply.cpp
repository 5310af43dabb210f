#include "fuzzharness.h"

#include "link/protocoladapter.h"
#include "link/netreply.h"

void fuzzInput(const QByteArray &input)
{
    // As Get reads the answer (so many bytes, up to a NUL), and the parser on any text.
    for (const QString &reply : { QString::fromUtf8(input.left(protocoladapter::NetReplyMaxSize).constData()),
                                  QString::fromUtf8(input) }) {
        const DeviceEntry marker { "ip?", "port?", "subnet?", "gateway?", "mac?", "alias?" };
        DeviceEntry entry = marker;
        int fields = -1;
        const NetReply::Result result = NetReply::parse(reply, &entry, &fields);
        const QString rebuilt = QStringList { entry.ip, entry.port, entry.subnet, entry.gateway, entry.mac }.join(',');
        FUZZ_CHECK(result == NetReply::Result::Ok
                       ? fields >= NetReply::FieldCount && entry.alias == marker.alias && rebuilt.count(',') == 4
                           && (reply == "HNW" + rebuilt || reply.startsWith("HNW" + rebuilt + ','))
                       : entry == marker
                           && (result == NetReply::Result::NoPrefix ? !reply.startsWith(QLatin1String("HNW"))
                                                                    : fields < NetReply::FieldCount),
                   reply);
    }
}
