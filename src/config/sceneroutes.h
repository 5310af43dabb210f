#pragma once

#include <QMap>
#include <QString>
#include <QVector>

// The routing shown when each scene was saved from this program, so that
// calling the scene from here shows it again. Kept in "SceneRoutes.json" in
// the working directory, written whole and atomically at every save, so a
// killed program loses nothing.
class SceneRoutes
{
public:
    explicit SceneRoutes(const QString &path = defaultPath());

    static QString defaultPath();

    // Empty when the scene was never saved from here.
    QVector<int> routing(int scene) const { return m_scenes.value(scene); }
    void setRouting(int scene, const QVector<int> &routing);

    QString loadProblem() const { return m_loadProblem; }
    QString saveProblem() const { return m_saveProblem; }

private:
    void load();
    void save();

    QString m_path;
    QMap<int, QVector<int>> m_scenes;
    QString m_loadProblem;
    QString m_saveProblem;
};
