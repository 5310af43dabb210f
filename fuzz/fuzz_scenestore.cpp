// Arbitrary SceneConfig.ini contents through SceneStore: sixteen names come
// out, and what one store writes back the next one reads as the same names.
#include "fuzzworkdir.h"

#include "config/scenestore.h"

#include <QSettings>
#include <QStringList>
#include <QTextCodec>

#include <cstddef>
#include <cstdint>

namespace {

const QString SceneFile = QStringLiteral("SceneConfig.ini");

QStringList namesOf(const SceneStore &store)
{
    QStringList names;
    for (int i = 0; i < SceneStore::SceneCount; ++i)
        names << store.sceneName(i);
    return names;
}

// The file's codec writes every Unicode character but an unpaired surrogate
// (only reachable through \x escapes).
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

void reportOutcome()
{
    QSettings settings(SceneFile, QSettings::IniFormat);
    settings.setIniCodec(QTextCodec::codecForName("GB18030"));
    fuzzFeature(static_cast<unsigned>(settings.status()));
    fuzzFeature(10 + static_cast<unsigned>(qMin(settings.childGroups().size(), 10)));
    fuzzFeature(30 + static_cast<unsigned>(qMin(settings.allKeys().size(), 100)));
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
    dir.writeFile(SceneFile, input);
    reportOutcome();

    QStringList first;
    {
        SceneStore store;
        first = namesOf(store);
    }
    FUZZ_CHECK(!dir.readFile(SceneFile).isEmpty(), QStringLiteral("the store left no file"));

    QStringList second;
    {
        SceneStore store;
        second = namesOf(store);
    }
    for (int i = 0; i < SceneStore::SceneCount; ++i) {
        if (representable(first.at(i)))
            FUZZ_CHECK(first.at(i) == second.at(i),
                       QStringLiteral("scene %1: \"%2\" came back as \"%3\"").arg(i + 1).arg(first.at(i), second.at(i)));
    }

    const QByteArray written = dir.readFile(SceneFile);
    {
        SceneStore store;
        FUZZ_CHECK(namesOf(store) == second, QStringLiteral("unstable"));
    }
    FUZZ_CHECK(dir.readFile(SceneFile) == written, QStringLiteral("the store's own file changed on rewrite"));
    return 0;
}
