#include "fuzzharness.h"

#include "config/aliasstore.h"
#include "config/settings.h"

void fuzzInput(const QByteArray &input)
{
    const QString file = QStringLiteral("AliasConfig.ini");
    const auto dir = fuzzDir({ { file, input } }, IniText::Utf8);
    checkNamesSurvive(file, [] {
        AliasStore store;
        QStringList names;
        for (int i = 0; i < Settings::MaxChannels; ++i)
            names << store.inputAlias(i) << store.outputAlias(i);
        FUZZ_CHECK(store.inputAlias(Settings::MaxChannels).isEmpty() && store.outputAlias(-1).isEmpty());
        return names;
    });
    FUZZ_CHECK(!QFile::exists(file + ".bad") || readFile(file + ".bad") == input, "the kept copy differs");
}
