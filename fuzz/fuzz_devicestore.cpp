#include "fuzzharness.h"

#include "config/devicestore.h"

#include <QJsonArray>

#include <algorithm>

using Members = QVector<QPair<QString, QJsonValue>>;

// An array's elements in order, an object's members sorted, found by walking (not by name: raw NULs).
static Members membersOf(const QJsonValue &value, const QString &skip = QString())
{
    Members members;
    for (const QJsonValue &item : value.toArray())
        members.append({ QString(), item });
    const QJsonObject object = value.toObject();
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (skip.isNull() || it.key() != skip)
            members.append({ it.key(), it.value() });
    }
    std::stable_sort(members.begin(), members.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    return members;
}

// Numbers compare at the double precision Qt writes them with.
static bool same(const Members &x, const Members &y)
{
    return std::equal(x.begin(), x.end(), y.begin(), y.end(), [](const auto &p, const auto &q) {
        const QJsonValue &a = p.second, &b = q.second;
        if (p.first != q.first || a.type() != b.type())
            return false;
        return a.isArray() || a.isObject() ? same(membersOf(a), membersOf(b))
                                           : a.isDouble() ? a.toDouble() == b.toDouble() : a == b;
    });
}

void fuzzInput(const QByteArray &input)
{
    const QString file = QStringLiteral("ipmanager");
    const auto dir = fuzzDir({ { file, input } });
    const QByteArray text = QByteArray(input).replace('\r', QByteArray()); // as read in text mode
    QJsonParseError error {};
    const QJsonDocument parsed = QJsonDocument::fromJson(text, &error);
    ++g_features[error.error * 4 + parsed.isObject() + parsed.isArray() * 2];
    const QList<DeviceEntry> entries = DeviceStore().entries();

    // A stray U+FEFF in a member name reorders members: no byte-exact checks then.
    const bool exact = !text.contains("\xef\xbb\xbf");
    const QByteArray written = readFile(file);
    const QJsonDocument document = QJsonDocument::fromJson(written, &error);
    FUZZ_CHECK(error.error == QJsonParseError::NoError && document.isObject(), QString::fromUtf8(written.left(80)));
    FUZZ_CHECK(!exact || written == document.toJson(QJsonDocument::Compact));
    QJsonArray expected;
    for (const DeviceEntry &e : entries) {
        expected.append(QJsonObject { { "alias", e.alias }, { "gateway", e.gateway }, { "ip", e.ip },
                                      { "mac", e.mac }, { "port", e.port }, { "subnet", e.subnet } });
    }
    FUZZ_CHECK(same(membersOf(document.object().value(QStringLiteral("items"))), membersOf(expected)));
    FUZZ_CHECK(!exact || same(membersOf(parsed.object(), "items"), membersOf(document.object(), "items")));
    // Content that is no address book is kept, byte for byte.
    FUZZ_CHECK(QFile::exists(file + ".bad") ? readFile(file + ".bad") == input
                                            : text.trimmed().isEmpty() || parsed.isObject());
    FUZZ_CHECK(DeviceStore().entries() == entries, "entries changed across a restart");
    FUZZ_CHECK(!exact || readFile(file) == written, "rewrite changed the file");
}
