#include "config/settings.h"

#include "config/initext.h"

#include <QDebug>
#include <QFile>
#include <QSet>
#include <QSettings>
#include <QVariant>

namespace {

const QString AppConfigFile = QStringLiteral("AppConfig.ini");
const QString UserDataFile = QStringLiteral("UserData.ini");
// A damaged file is kept under this suffix before a setter rewrites it.
const QString DamagedSuffix = QStringLiteral(".bad");

// Every accessor opens the file anew: say each problem of a file once, not
// once per key.
bool firstReport(const QString &file, const char *problem)
{
    static QSet<QString> reported;
    const QString key = file + QLatin1Char(':') + QLatin1String(problem);
    if (reported.contains(key))
        return false;
    reported.insert(key);
    return true;
}

void reportReadStatus(const QString &file, QSettings::Status status)
{
    if (status == QSettings::FormatError && firstReport(file, "damaged"))
        qDebug() << file << "is damaged; keys it lost read as absent";
    else if (status == QSettings::AccessError && firstReport(file, "unreadable"))
        qDebug() << file << "could not be read; its keys read as absent";
}

// Files found damaged and not yet written anew. QSettings parses a file once
// and shares it between its objects, so only the first object to read a
// damaged section learns of the damage: it is remembered here for the writer.
QSet<QString> &damagedFiles()
{
    static QSet<QString> files;
    return files;
}

QVariant readValue(const QString &file, const QString &key, const QVariant &fallback = QVariant())
{
    const auto settings = openIni(file, IniText::Utf8);
    const QVariant value = settings->value(key, fallback);
    if (settings->status() == QSettings::FormatError)
        damagedFiles().insert(file);
    reportReadStatus(file, settings->status());
    return value;
}

void writeValue(const QString &file, const QString &key, const QVariant &value)
{
    const auto settings = openIni(file, IniText::Utf8);
    // The rewrite keeps only what could be parsed, so a damaged file is kept as
    // it was first. Sections are parsed when first touched: touch them all.
    settings->allKeys();
    const bool damaged = damagedFiles().remove(file);
    if (damaged || settings->status() == QSettings::FormatError) {
        qDebug() << file << "is damaged and is written anew; the old file is kept as" << file + DamagedSuffix;
        QFile::remove(file + DamagedSuffix);
        QFile::copy(file, file + DamagedSuffix);
    }
    settings->setValue(key, value);
    settings->sync();
    if (settings->status() == QSettings::AccessError && firstReport(file, "unwritable"))
        qDebug() << file << "could not be written; settings stored in this run are lost";
}

int readInt(const QString &file, const QString &key)
{
    return readValue(file, key).toInt();
}

QString readString(const QString &file, const QString &key)
{
    return readValue(file, key).toString();
}

// 0 (or absent, or not a number, or below 0) means the default size; nothing above the limit.
int channelCount(int stored)
{
    if (stored <= 0)
        return Settings::DefaultChannels;
    return qMin(stored, Settings::MaxChannels);
}

} // namespace

int getLangType() { return readInt(AppConfigFile, QStringLiteral("langType")); }
void setLangType(int value) { writeValue(AppConfigFile, QStringLiteral("langType"), value); }
int getType() { return readInt(AppConfigFile, QStringLiteral("type")); }
void setType(int value) { writeValue(AppConfigFile, QStringLiteral("type"), value); }
int getMatrix() { return readInt(AppConfigFile, QStringLiteral("matrix")); }
void setMatrix(int value) { writeValue(AppConfigFile, QStringLiteral("matrix"), value); }
int getInCount() { return channelCount(readInt(AppConfigFile, QStringLiteral("incount"))); }
void setInCount(int value) { writeValue(AppConfigFile, QStringLiteral("incount"), value); }
int getOutCount() { return channelCount(readInt(AppConfigFile, QStringLiteral("outcount"))); }
void setOutCount(int value) { writeValue(AppConfigFile, QStringLiteral("outcount"), value); }

int getMatrixId() { return readValue(UserDataFile, QStringLiteral("id"), -1).toInt(); }
void setMatrixId(int value) { writeValue(UserDataFile, QStringLiteral("id"), value); }
int getAudio() { return readInt(UserDataFile, QStringLiteral("audio")); }
void setAudio(int value) { writeValue(UserDataFile, QStringLiteral("audio"), value); }
QString getPort() { return readString(UserDataFile, QStringLiteral("Port")); }
void setPort(const QString &value) { writeValue(UserDataFile, QStringLiteral("Port"), value); }
QString getBaud() { return readString(UserDataFile, QStringLiteral("Baud")); }
void setBaud(const QString &value) { writeValue(UserDataFile, QStringLiteral("Baud"), value); }
int getConnectType() { return readInt(UserDataFile, QStringLiteral("ConnectType")); }
void setConnectType(int value) { writeValue(UserDataFile, QStringLiteral("ConnectType"), value); }
QString getIPAdd() { return readString(UserDataFile, QStringLiteral("IPAdd")); }
void setIPAdd(const QString &value) { writeValue(UserDataFile, QStringLiteral("IPAdd"), value); }
QString getNetPort() { return readString(UserDataFile, QStringLiteral("NetPort")); }
void setNetPort(const QString &value) { writeValue(UserDataFile, QStringLiteral("NetPort"), value); }

int getPollInBegin() { return readInt(UserDataFile, QStringLiteral("PollInBegin")); }
void setPollInBegin(int value) { writeValue(UserDataFile, QStringLiteral("PollInBegin"), value); }
int getPollInEnd() { return readInt(UserDataFile, QStringLiteral("PollInEnd")); }
void setPollInEnd(int value) { writeValue(UserDataFile, QStringLiteral("PollInEnd"), value); }
int getPollOutStart() { return readInt(UserDataFile, QStringLiteral("PollOutStart")); }
void setPollOutStart(int value) { writeValue(UserDataFile, QStringLiteral("PollOutStart"), value); }
int getPollOutEnd() { return readInt(UserDataFile, QStringLiteral("PollOutEnd")); }
void setPollOutEnd(int value) { writeValue(UserDataFile, QStringLiteral("PollOutEnd"), value); }
int getPollSleep() { return readInt(UserDataFile, QStringLiteral("PollSleep")); }
void setPollSleep(int value) { writeValue(UserDataFile, QStringLiteral("PollSleep"), value); }
int getTimingStart() { return readInt(UserDataFile, QStringLiteral("TimingStart")); }
void setTimingStart(int value) { writeValue(UserDataFile, QStringLiteral("TimingStart"), value); }
int getTimingEnd() { return readInt(UserDataFile, QStringLiteral("TimingEnd")); }
void setTimingEnd(int value) { writeValue(UserDataFile, QStringLiteral("TimingEnd"), value); }
int getTimingOut() { return readInt(UserDataFile, QStringLiteral("TimingOut")); }
void setTimingOut(int value) { writeValue(UserDataFile, QStringLiteral("TimingOut"), value); }
int getTimingSleep() { return readInt(UserDataFile, QStringLiteral("TimingSleep")); }
void setTimingSleep(int value) { writeValue(UserDataFile, QStringLiteral("TimingSleep"), value); }
