#include "config/scenestore.h"

#include "config/damagedcopy.h"
#include "config/filenotices.h"
#include "config/initext.h"
#include "config/storetrace.h"

#include <QDebug>
#include <QFile>
#include <QSettings>
#include <QVariant>

namespace {

const QString SceneFile = QStringLiteral("SceneConfig.ini");
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

// A name the file cannot give (its key lost, its bytes no text) is the default of a fresh
// installation, the scene's number; a name stored empty stays empty.
QString storedName(const QSettings &settings, int number, bool *damaged)
{
    const QString name = nameFromValue(settings.value(sceneKey(number)));
    if (settings.contains(sceneKey(number)) && !name.contains(QChar::ReplacementCharacter))
        return name;
    *damaged = true;
    return sceneKey(number);
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
        qCDebug(lcStore) << "create file";
        createDefaults();
    } else {
        qCDebug(lcStore) << "load file";
        load();
    }
}

SceneStore::~SceneStore()
{
    if (!writeBack())
        FileNotices::instance().report(
            QT_TRANSLATE_NOOP("FileNotices", "%1 could not be written; the scene names of this run are lost"), {SceneFile});
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
        FileNotices::instance().report(
            QT_TRANSLATE_NOOP("FileNotices", "%1 could not be written; the new name of scene %2 is kept in memory"),
            {SceneFile, QString::number(index + 1)});
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
    for (int n = 1; n <= SceneCount; ++n) {
        const QString name = sceneKey(n);
        m_settings->setValue(sceneKey(n), name);
        m_names.append(name);
    }
    m_settings->sync();
    m_settings->endGroup();

    m_settings->beginGroup(SavedGroup);
    for (int n = 1; n <= SceneCount; ++n) {
        m_settings->setValue(sceneKey(n), false);
        m_saved.append(false);
    }
    m_settings->sync();
    m_settings->endGroup();
}

void SceneStore::load()
{
    bool lost = false;
    m_settings->beginGroup(NamesGroup);
    for (int n = 1; n <= SceneCount; ++n)
        m_names.append(storedName(*m_settings, n, &lost));
    m_settings->endGroup();

    m_settings->beginGroup(SavedGroup);
    for (int n = 1; n <= SceneCount; ++n)
        m_saved.append(m_settings->value(sceneKey(n)).toBool());
    m_settings->endGroup();

    // Sections are parsed when first touched; a damaged one the reads above
    // did not touch would otherwise only show when the rewrite parses it.
    m_settings->allKeys();
    // A damaged file is rewritten from what could be read: keep it as it was.
    const QSettings::Status status = iniStatus(*m_settings);
    if (status == QSettings::AccessError) {
        FileNotices::instance().report(
            QT_TRANSLATE_NOOP("FileNotices", "%1 could not be read; the scenes show their default names"), {SceneFile});
    } else if (lost || status == QSettings::FormatError) {
        keepDamagedNameFile(SceneFile);
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
