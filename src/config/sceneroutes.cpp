#include "config/sceneroutes.h"

#include "config/jsonfile.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonObject>

namespace {

const QString FileName = QStringLiteral("SceneRoutes.json");
const QString ScenesKey = QStringLiteral("scenes");

} // namespace

SceneRoutes::SceneRoutes(const QString &path)
    : m_path(path)
{
    load();
}

QString SceneRoutes::defaultPath()
{
    return QDir::currentPath() + QLatin1Char('/') + FileName;
}

void SceneRoutes::setRouting(int scene, const QVector<int> &routing)
{
    m_scenes.insert(scene, routing);
    save();
}

void SceneRoutes::load()
{
    const QJsonObject scenes = JsonFile::read(m_path, &m_loadProblem).value(ScenesKey).toObject();
    for (auto it = scenes.begin(); it != scenes.end(); ++it) {
        bool ok = false;
        const int scene = it.key().toInt(&ok);
        if (!ok || !it.value().isArray())
            continue;
        QVector<int> routing;
        const QJsonArray entries = it.value().toArray();
        for (const QJsonValue &entry : entries)
            routing << entry.toInt();
        m_scenes.insert(scene, routing);
    }
}

void SceneRoutes::save()
{
    QJsonObject scenes;
    for (auto it = m_scenes.cbegin(); it != m_scenes.cend(); ++it) {
        QJsonArray routing;
        for (int input : it.value())
            routing.append(input);
        scenes.insert(QString::number(it.key()), routing);
    }
    m_saveProblem = JsonFile::write(m_path, QJsonObject {{ScenesKey, scenes}});
}
