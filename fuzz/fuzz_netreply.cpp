// The network card's answer to "HWC", as Get takes it: at most 67 bytes, text
// up to the first NUL, decoded as UTF-8, then NetReply::parse. A full answer
// fills exactly the five network fields from the text; anything else leaves
// the entry untouched.
#include "fuzzworkdir.h"

#include "link/protocoladapter.h"
#include "setup/netreply.h"

#include <QByteArray>
#include <QStringList>

#include <cstddef>
#include <cstdint>

namespace {

DeviceEntry marker()
{
    DeviceEntry entry;
    entry.ip = QStringLiteral("ip?");
    entry.port = QStringLiteral("port?");
    entry.subnet = QStringLiteral("subnet?");
    entry.gateway = QStringLiteral("gateway?");
    entry.mac = QStringLiteral("mac?");
    entry.alias = QStringLiteral("alias?");
    return entry;
}

void checkReply(const QString &reply)
{
    DeviceEntry entry = marker();
    int fields = -1;
    const NetReply::Result result = NetReply::parse(reply, &entry, &fields);
    fuzzFeature(static_cast<unsigned>(result) * 16 + static_cast<unsigned>(qMin(fields, 15)));
    if (result != NetReply::Result::Ok) {
        FUZZ_CHECK(entry == marker(), reply);
        FUZZ_CHECK(result == NetReply::Result::NoPrefix ? !reply.startsWith(QLatin1String("HNW"))
                                                        : fields < NetReply::FieldCount,
                   reply);
        return;
    }
    FUZZ_CHECK(fields >= NetReply::FieldCount, reply);
    FUZZ_CHECK(entry.alias == marker().alias, reply);
    const QStringList parts { entry.ip, entry.port, entry.subnet, entry.gateway, entry.mac };
    for (const QString &part : parts)
        FUZZ_CHECK(!part.contains(QLatin1Char(',')), reply);
    const QString rebuilt = QStringLiteral("HNW") + parts.join(QLatin1Char(','));
    FUZZ_CHECK(reply == rebuilt || reply.startsWith(rebuilt + QLatin1Char(',')), reply);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    initFuzzing(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray answer(reinterpret_cast<const char *>(data), static_cast<int>(size));
    // What queryNetSetting makes of the bytes the device sent.
    const QByteArray read = answer.left(protocoladapter::NetReplyMaxSize);
    const int nul = read.indexOf('\0');
    checkReply(QString::fromUtf8(nul < 0 ? read : read.left(nul)));
    // The parser on its own, on texts of any length.
    checkReply(QString::fromUtf8(answer));
    return 0;
}
