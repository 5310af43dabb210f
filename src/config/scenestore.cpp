#include "config/scenestore.h"

#include "config/initext.h"

#include <QDebug>
#include <QFile>
#include <QSettings>
#include <QVariant>

namespace {

const QString SceneFile = QStringLiteral("SceneConfig.ini");
const QString DamagedSceneFile = QStringLiteral("SceneConfig.ini.bad");
const QString NamesGroup = QStringLiteral("SceneConfig");
const QString SavedGroup = QStringLiteral("SceneSaved");

QString sceneKey(int number)
{
    return QStringLiteral("%1").arg(number);
}

// A hand-edited name with an unquoted comma reads back as a list; keep all of it.
QString nameFromValue(const QVariant &value)
{
    if (value.userType() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

} // namespace

bool sceneFileMissing()
{
    return !QFile::exists(SceneFile);
}

SceneStore::SceneStore()
    : m_settings(openIni(SceneFile, IniText::Gb18030))
{
    // Written beside the old file and renamed over it, so a kill mid-write leaves it whole.
    m_settings->setAtomicSyncRequired(true);
    if (sceneFileMissing()) {
        qDebug() << "create file";
        createDefaults();
    } else {
        qDebug() << "load file";
        load();
    }
}

SceneStore::~SceneStore()
{
    if (!writeBack())
        qDebug() << "can't write" << SceneFile << "scene names of this run are lost";
    m_settings.reset();
}

QString SceneStore::sceneName(int index) const
{
    return m_names.at(index);
}

// On disk at once: a program killed later keeps the name.
void SceneStore::setSceneName(int index, const QString &name)
{
    if (m_names.at(index) == name)
        return;
    m_names[index] = name;
    if (!writeBack())
        qDebug() << "can't write" << SceneFile << "the new name of scene" << index + 1 << "is kept in memory";
}

bool SceneStore::writeBack()
{
    save();
    m_settings->sync();
    // A format error of the old file stays in the status, but the file is still rewritten.
    return m_settings->status() != QSettings::AccessError;
}

void SceneStore::createDefaults()
{
    m_settings->beginGroup(NamesGroup);
    m_names.clear();
    for (int n = 1; n <= SceneCount; ++n) {
        const QString name = sceneKey(n);
        m_settings->setValue(sceneKey(n), name);
        m_names.append(name);
    }
    m_settings->sync();
    m_settings->endGroup();

    m_settings->beginGroup(SavedGroup);
    m_saved.clear();
    for (int n = 1; n <= SceneCount; ++n) {
        m_settings->setValue(sceneKey(n), false);
        m_saved.append(false);
    }
    m_settings->sync();
    m_settings->endGroup();
}

void SceneStore::load()
{
    m_names.clear();
    m_settings->beginGroup(NamesGroup);
    for (int n = 1; n <= SceneCount; ++n)
        m_names.append(nameFromValue(m_settings->value(sceneKey(n))));
    m_settings->endGroup();

    m_saved.clear();
    m_settings->beginGroup(SavedGroup);
    for (int n = 1; n <= SceneCount; ++n)
        m_saved.append(m_settings->value(sceneKey(n)).toBool());
    m_settings->endGroup();

    // Sections are parsed when first touched; a damaged one the reads above
    // did not touch would otherwise only show when the rewrite parses it.
    m_settings->allKeys();
    // A damaged file is rewritten from what could be read: keep it as it was.
    const QSettings::Status status = iniStatus(*m_settings);
    if (status == QSettings::FormatError) {
        qDebug() << SceneFile << "is damaged; names it lost read as empty; the file is kept as"
                 << DamagedSceneFile;
        QFile::remove(DamagedSceneFile);
        QFile::copy(SceneFile, DamagedSceneFile);
    } else if (status != QSettings::NoError) {
        qDebug() << SceneFile << "is unreadable; missing names read as empty";
    }
}

void SceneStore::save()
{
    m_settings->beginGroup(NamesGroup);
    for (int i = 0; i < SceneCount; ++i)
        m_settings->setValue(sceneKey(i + 1), m_names.at(i));
    m_settings->endGroup();

    m_settings->beginGroup(SavedGroup);
    for (int i = 0; i < SceneCount; ++i)
        m_settings->setValue(sceneKey(i + 1), m_saved.at(i));
    m_settings->endGroup();
}
