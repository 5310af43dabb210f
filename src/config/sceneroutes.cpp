#include "config/sceneroutes.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QSaveFile>

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
    QFile file(m_path);
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly)) {
        m_loadProblem = file.errorString();
        return;
    }
    QJsonParseError error {};
    const QJsonObject scenes = QJsonDocument::fromJson(file.readAll(), &error).object().value(ScenesKey).toObject();
    if (error.error != QJsonParseError::NoError) {
        m_loadProblem = error.errorString();
        return;
    }
    for (auto it = scenes.begin(); it != scenes.end(); ++it) {
        bool ok = false;
        const int scene = it.key().toInt(&ok);
        if (!ok || !it.value().isArray())
            continue;
        QVector<int> routing;
        for (const QJsonValue &entry : it.value().toArray())
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
    const QByteArray content = QJsonDocument(QJsonObject {{ScenesKey, scenes}}).toJson(QJsonDocument::Compact);
    QSaveFile file(m_path);
    if (file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.commit())
        m_saveProblem.clear();
    else
        m_saveProblem = file.errorString();
}
