// Arbitrary "ipmanager" contents through DeviceStore: the file it writes back
// is the address book's own form, holds the entries it read, keeps any other
// top-level member, and whatever it could not take in is kept byte for byte
// as "ipmanager.bad".
#include "fuzzworkdir.h"

#include "config/devicestore.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QStringList>
#include <QVector>

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

const QString StoreFile = QStringLiteral("ipmanager");
const QString KeptCopy = QStringLiteral("ipmanager.bad");
// The six members of an element, in the order a compact document lists them.
QStringList entryKeys()
{
    return { QStringLiteral("alias"), QStringLiteral("gateway"), QStringLiteral("ip"),
             QStringLiteral("mac"),   QStringLiteral("port"),    QStringLiteral("subnet") };
}

bool sameEntries(const QList<DeviceEntry> &a, const QList<DeviceEntry> &b)
{
    return a == b;
}

// Qt's JSON parser drops a U+FEFF inside a member name but sorts the object as
// if it were there, so the order of such members is not stable across a
// write and a read; the byte-exact checks leave those inputs out.
bool hasStrayByteOrderMark(const QByteArray &json)
{
    return json.contains("\xef\xbb\xbf");
}

// The members of an object by name, found by walking it: Qt's parser files
// names holding a raw NUL in an order that is not the one a written file reads
// back with, and lookups by name can miss them. A member named skip is left out.
using Members = QVector<QPair<QString, QJsonValue>>;
Members sortedMembers(const QJsonObject &object, const QString &skip = QString())
{
    Members members;
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (skip.isNull() || it.key() != skip)
            members.append({ it.key(), it.value() });
    }
    std::stable_sort(members.begin(), members.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    return members;
}

bool sameValue(const QJsonValue &a, const QJsonValue &b);

bool sameMembers(const Members &x, const Members &y)
{
    if (x.size() != y.size())
        return false;
    for (int i = 0; i < x.size(); ++i) {
        if (x.at(i).first != y.at(i).first || !sameValue(x.at(i).second, y.at(i).second))
            return false;
    }
    return true;
}

// Qt writes every JSON number as a double, so an integer beyond 2^53 in a
// member the store only carries comes back at double precision, as most JSON
// readers would take it anyway; numbers are compared at that precision.
bool sameValue(const QJsonValue &a, const QJsonValue &b)
{
    if (a.isDouble() && b.isDouble())
        return a.toDouble() == b.toDouble();
    if (a.isArray() && b.isArray()) {
        const QJsonArray x = a.toArray();
        const QJsonArray y = b.toArray();
        if (x.size() != y.size())
            return false;
        for (int i = 0; i < x.size(); ++i) {
            if (!sameValue(x.at(i), y.at(i)))
                return false;
        }
        return true;
    }
    if (a.isObject() && b.isObject())
        return sameMembers(sortedMembers(a.toObject()), sortedMembers(b.toObject()));
    return a == b;
}

// Everything the store read, in file order, must be what it wrote.
void checkWritten(const QByteArray &written, const QList<DeviceEntry> &entries, const QJsonObject &input,
                  bool exact)
{
    QJsonParseError error {};
    const QJsonDocument document = QJsonDocument::fromJson(written, &error);
    FUZZ_CHECK(error.error == QJsonParseError::NoError && document.isObject(), QString::fromUtf8(written.left(80)));
    if (exact)
        FUZZ_CHECK(written == document.toJson(QJsonDocument::Compact), QStringLiteral("not compact"));
    const QJsonObject root = document.object();
    const QJsonArray items = root.value(QStringLiteral("items")).toArray();
    FUZZ_CHECK(items.size() == entries.size(), QString::number(items.size()));
    for (int i = 0; i < items.size(); ++i) {
        const QJsonObject item = items.at(i).toObject();
        FUZZ_CHECK(item.keys() == entryKeys(), item.keys().join(QLatin1Char(',')));
        const DeviceEntry &e = entries.at(i);
        FUZZ_CHECK(item.value(QStringLiteral("ip")).toString() == e.ip
                       && item.value(QStringLiteral("port")).toString() == e.port
                       && item.value(QStringLiteral("subnet")).toString() == e.subnet
                       && item.value(QStringLiteral("gateway")).toString() == e.gateway
                       && item.value(QStringLiteral("mac")).toString() == e.mac
                       && item.value(QStringLiteral("alias")).toString() == e.alias,
                   QString::number(i));
    }
    const QString itemsKey = QStringLiteral("items");
    if (exact) {
        FUZZ_CHECK(sameMembers(sortedMembers(input, itemsKey), sortedMembers(root, itemsKey)),
                   QStringLiteral("lost or changed a member besides items"));
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    initFuzzing(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), static_cast<int>(size));
    FuzzWorkDir dir;
    FUZZ_CHECK(dir.isValid(), QString());
    dir.writeFile(StoreFile, input);

    // The store reads the file as text mode would, without any CR.
    QByteArray text = input;
    text.replace('\r', QByteArray());
    QJsonParseError error {};
    const QJsonDocument parsed = QJsonDocument::fromJson(text, &error);
    fuzzFeature(static_cast<unsigned>(error.error) * 4 + (parsed.isObject() ? 1 : 0) + (parsed.isArray() ? 2 : 0));
    const QJsonObject inputRoot = parsed.object();

    QList<DeviceEntry> first;
    {
        DeviceStore store;
        first = store.entries();
    }
    fuzzFeature(100 + static_cast<unsigned>(qMin(first.size(), 20)));
    const QByteArray written = dir.readFile(StoreFile);
    const bool exact = !hasStrayByteOrderMark(text);
    checkWritten(written, first, inputRoot, exact);

    // Content that is no address book must not vanish with the rewrite.
    if (!text.trimmed().isEmpty() && !parsed.isObject())
        FUZZ_CHECK(dir.readFile(KeptCopy) == input, QStringLiteral("unreadable content not kept"));
    if (dir.exists(KeptCopy))
        FUZZ_CHECK(dir.readFile(KeptCopy) == input, QStringLiteral("kept copy differs"));
    fuzzFeature(200 + (dir.exists(KeptCopy) ? 1 : 0));

    // The next start reads the same list and writes the same bytes.
    {
        DeviceStore store;
        FUZZ_CHECK(sameEntries(store.entries(), first), QStringLiteral("entries changed across a restart"));
    }
    FUZZ_CHECK(!exact || dir.readFile(StoreFile) == written, QStringLiteral("rewrite changed the file"));
    return 0;
}
