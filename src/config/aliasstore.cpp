#include "config/aliasstore.h"

#include "config/damagedcopy.h"
#include "config/filenotices.h"
#include "config/initext.h"
#include "config/settings.h"
#include "config/storetrace.h"

#include <QDebug>
#include <QFile>
#include <QSettings>

namespace {

const QString AliasFile = QStringLiteral("AliasConfig.ini");
const QString InputGroup = QStringLiteral("InputAlias");
const QString OutputGroup = QStringLiteral("OutputAlias");
// Default names stay Chinese whatever the interface language is.
const QString InputWord = QStringLiteral("输入通道");
const QString OutputWord = QStringLiteral("输出通道");

QString defaultName(const QString &word, int channel)
{
    return QStringLiteral("%1 %2").arg(word, QString::number(channel));
}

// A hand-edited name with an unquoted comma comes back as a list; keep it as typed
// instead of letting it read as empty and be written back empty.
QString nameFromValue(const QVariant &value)
{
    if (value.userType() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

// A name the file cannot give (its key lost, its bytes no UTF-8) is the default of a fresh
// installation; a name stored empty stays empty. damaged tells whether one was lost.
// Qt 6 reads a name cut inside a character as empty, Qt 5 with a replacement mark:
// in a file that is no UTF-8 throughout, an empty name is taken as such a loss.
QString storedName(const QSettings &settings, const QString &word, int channel, bool undecodable, bool *damaged)
{
    const QString key = QString::number(channel);
    const QString name = nameFromValue(settings.value(key));
    if (settings.contains(key) && !name.contains(QChar::ReplacementCharacter) && !(undecodable && name.isEmpty()))
        return name;
    *damaged = true;
    return defaultName(word, channel);
}

bool validIndex(int index, const char *what)
{
    if (index >= 0 && index < Settings::MaxChannels)
        return true;
    qCDebug(lcStore) << "alias store: no" << what << "channel at index" << index;
    return false;
}

} // namespace

bool aliasFileMissing()
{
    return !QFile::exists(AliasFile);
}

AliasStore::AliasStore()
    : m_settings(openIni(AliasFile, IniText::Utf8))
{
    // Written beside the old file and renamed over it, so a kill mid-write leaves it whole.
    m_settings->setAtomicSyncRequired(true);
    if (aliasFileMissing()) {
        qCDebug(lcStore) << "create file";
        createDefaults();
    } else {
        qCDebug(lcStore) << "load file";
        load();
    }
}

AliasStore::~AliasStore()
{
    writeBack();
    m_settings.reset();
}

void AliasStore::writeBack()
{
    save();
    m_settings->sync();
    // The status keeps a damage found on reading; only access tells of the write.
    if (m_settings->status() == QSettings::AccessError)
        FileNotices::instance().report(
            QT_TRANSLATE_NOOP("FileNotices", "%1 could not be written; the channel names of this run are lost"), {AliasFile});
}

QString AliasStore::inputAlias(int index) const
{
    return validIndex(index, "input") ? m_inputNames.at(index) : QString();
}

QString AliasStore::outputAlias(int index) const
{
    return validIndex(index, "output") ? m_outputNames.at(index) : QString();
}

// On disk at once: a program killed later keeps the name.
void AliasStore::setInputAlias(int index, const QString &name)
{
    if (!validIndex(index, "input") || m_inputNames.at(index) == name)
        return;
    m_inputNames[index] = name;
    writeBack();
}

void AliasStore::setOutputAlias(int index, const QString &name)
{
    if (!validIndex(index, "output") || m_outputNames.at(index) == name)
        return;
    m_outputNames[index] = name;
    writeBack();
}

void AliasStore::createDefaults()
{
    m_settings->beginGroup(InputGroup);
    for (int n = 1; n <= Settings::MaxChannels; ++n) {
        const QString name = defaultName(InputWord, n);
        m_settings->setValue(QString::number(n), name);
        m_inputNames.append(name);
    }
    m_settings->sync();
    m_settings->endGroup();

    m_settings->beginGroup(OutputGroup);
    for (int n = 1; n <= Settings::MaxChannels; ++n) {
        const QString name = defaultName(OutputWord, n);
        m_settings->setValue(QString::number(n), name);
        m_outputNames.append(name);
    }
    m_settings->sync();
    m_settings->endGroup();
}

void AliasStore::load()
{
    bool lost = false;
    QFile file(AliasFile);
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    const bool undecodable = QString::fromUtf8(bytes).toUtf8() != bytes;
    m_settings->beginGroup(InputGroup);
    for (int n = 1; n <= Settings::MaxChannels; ++n)
        m_inputNames.append(storedName(*m_settings, InputWord, n, undecodable, &lost));
    m_settings->endGroup();

    m_settings->beginGroup(OutputGroup);
    for (int n = 1; n <= Settings::MaxChannels; ++n)
        m_outputNames.append(storedName(*m_settings, OutputWord, n, undecodable, &lost));
    m_settings->endGroup();

    // Sections are parsed when first touched; a damaged one the reads above
    // did not touch would otherwise only show when the rewrite parses it.
    m_settings->allKeys();
    if (m_settings->status() == QSettings::AccessError) {
        FileNotices::instance().report(
            QT_TRANSLATE_NOOP("FileNotices", "%1 could not be read; the channels show their default names"), {AliasFile});
    } else if (lost || m_settings->status() == QSettings::FormatError) {
        keepDamagedNameFile(AliasFile);
    }
}

void AliasStore::save()
{
    m_settings->beginGroup(InputGroup);
    for (int i = 0; i < Settings::MaxChannels; ++i)
        m_settings->setValue(QString::number(i + 1), m_inputNames.at(i));
    m_settings->endGroup();

    m_settings->beginGroup(OutputGroup);
    for (int i = 0; i < Settings::MaxChannels; ++i)
        m_settings->setValue(QString::number(i + 1), m_outputNames.at(i));
    m_settings->endGroup();
}
