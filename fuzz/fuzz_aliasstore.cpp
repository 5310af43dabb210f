// Arbitrary AliasConfig.ini contents through AliasStore: 64 names a side come
// out, a damaged file is kept byte for byte, and what one store writes back the
// next one reads as the same names (nothing lost across a restart).
#include "fuzzworkdir.h"

#include "config/aliasstore.h"
#include "config/settings.h"

#include <QSettings>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace {

const QString AliasFile = QStringLiteral("AliasConfig.ini");
const QString DamagedCopy = QStringLiteral("AliasConfig.ini.bad");

struct Names
{
    QStringList inputs;
    QStringList outputs;
};

Names namesOf(const AliasStore &store)
{
    Names names;
    for (int i = 0; i < Settings::MaxChannels; ++i) {
        names.inputs << store.inputAlias(i);
        names.outputs << store.outputAlias(i);
    }
    // Out of range reads as nothing rather than past the lists.
    FUZZ_CHECK(store.inputAlias(Settings::MaxChannels).isEmpty(), QString());
    FUZZ_CHECK(store.outputAlias(-1).isEmpty(), QString());
    return names;
}

// Unpaired surrogates (only reachable through \x escapes) cannot be written as
// UTF-8; everything else must come back exactly.
bool representable(const QString &name)
{
    for (int i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        if (c.isHighSurrogate() && i + 1 < name.size() && name.at(i + 1).isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            return false;
    }
    return true;
}

void checkSame(const QStringList &first, const QStringList &second, const char *side)
{
    for (int i = 0; i < Settings::MaxChannels; ++i) {
        if (representable(first.at(i)))
            FUZZ_CHECK(first.at(i) == second.at(i), QStringLiteral("%1 %2: \"%3\" came back as \"%4\"")
                                                        .arg(QLatin1String(side))
                                                        .arg(i + 1)
                                                        .arg(first.at(i), second.at(i)));
    }
}

void reportOutcome()
{
    QSettings settings(AliasFile, QSettings::IniFormat);
    settings.setIniCodec("UTF-8");
    fuzzFeature(static_cast<unsigned>(settings.status()));
    fuzzFeature(10 + static_cast<unsigned>(qMin(settings.childGroups().size(), 10)));
    fuzzFeature(30 + static_cast<unsigned>(qMin(settings.allKeys().size(), 200)));
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
    dir.writeFile(AliasFile, input);
    reportOutcome();

    Names first;
    {
        AliasStore store;
        first = namesOf(store);
    }
    if (dir.exists(DamagedCopy))
        FUZZ_CHECK(dir.readFile(DamagedCopy) == input, QStringLiteral("the kept copy differs from the file"));
    FUZZ_CHECK(!dir.readFile(AliasFile).isEmpty(), QStringLiteral("the store left no file"));

    Names second;
    {
        AliasStore store;
        second = namesOf(store);
    }
    checkSame(first.inputs, second.inputs, "input");
    checkSame(first.outputs, second.outputs, "output");

    // From the second write on, the file is the store's own and must be stable.
    const QByteArray written = dir.readFile(AliasFile);
    {
        AliasStore store;
        const Names third = namesOf(store);
        FUZZ_CHECK(third.inputs == second.inputs && third.outputs == second.outputs, QStringLiteral("unstable"));
    }
    FUZZ_CHECK(dir.readFile(AliasFile) == written, QStringLiteral("the store's own file changed on rewrite"));
    return 0;
}
