#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class QSettings;

// True when "SceneConfig.ini" is not in the working directory.
bool sceneFileMissing();

// The operator's names for the device scenes, kept in "SceneConfig.ini".
// Read once when created; written back at every change and when destroyed.
class SceneStore
{
public:
    static constexpr int SceneCount = 16;

    SceneStore();
    ~SceneStore();

    // index is 0-15; the store trusts its caller on the range.
    QString sceneName(int index) const;
    void setSceneName(int index, const QString &name);

private:
    Q_DISABLE_COPY(SceneStore)

    void createDefaults();
    void load();
    void save();
    // Writes the file whole; false when it could not be written.
    bool writeBack();

    std::unique_ptr<QSettings> m_settings;
    QStringList m_names;
    QList<bool> m_saved;
};
