#include "fuzzharness.h"

#include "config/scenestore.h"

void fuzzInput(const QByteArray &input)
{
    const QString file = QStringLiteral("SceneConfig.ini");
    const auto dir = fuzzDir({ { file, input } }, IniText::Gb18030);
    checkNamesSurvive(file, [] {
        SceneStore store;
        QStringList names;
        for (int i = 0; i < SceneStore::SceneCount; ++i)
            names << store.sceneName(i);
        return names;
    });
}
