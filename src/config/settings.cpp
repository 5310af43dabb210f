#include "config/settings.h"

#include "config/damagedcopy.h"
#include "config/filenotices.h"
#include "config/initext.h"
#include "link/matrixid.h"

#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QVariant>

namespace {

const QString AppConfigFile = QStringLiteral("AppConfig.ini");
const QString UserDataFile = QStringLiteral("UserData.ini");

// Every accessor opens the file anew: say each problem of a file once, not
// once per key.
bool firstReport(const QString &file, const QString &problem)
{
    static QSet<QString> reported;
    const QString key = file + QLatin1Char(':') + problem;
    if (reported.contains(key))
        return false;
    reported.insert(key);
    return true;
}

void reportReadStatus(const QString &file, QSettings::Status status)
{
    if (status == QSettings::FormatError && firstReport(file, QStringLiteral("damaged")))
        FileNotices::instance().report(QT_TRANSLATE_NOOP("FileNotices", "%1 is damaged; keys it lost read as absent"), {file});
    else if (status == QSettings::AccessError && firstReport(file, QStringLiteral("unreadable")))
        FileNotices::instance().report(QT_TRANSLATE_NOOP("FileNotices", "%1 could not be read; its keys read as absent"), {file});
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
        keepDamagedCopy(file, QT_TRANSLATE_NOOP("FileNotices", "%1 is damaged and is written anew; the old file is kept as %2"),
                        QT_TRANSLATE_NOOP("FileNotices", "%1 is damaged and is written anew; the old file could not be kept as %2"));
    }
    settings->setValue(key, value);
    settings->sync();
    if (settings->status() == QSettings::AccessError && firstReport(file, QStringLiteral("unwritable")))
        FileNotices::instance().report(
            QT_TRANSLATE_NOOP("FileNotices", "%1 could not be written; settings stored in this run are lost"), {file});
}

// The stored text of a number; absent is empty.
QString storedText(const QVariant &value)
{
    return value.userType() == QMetaType::QStringList ? value.toStringList().join(QLatin1Char(',')) : value.toString();
}

// Anything but a whole number counts as absent (0), and says so.
int readInt(const QString &file, const QString &key)
{
    const QVariant value = readValue(file, key);
    bool whole = false;
    const int number = value.toString().toInt(&whole);
    if (value.isValid() && !whole && firstReport(file, key + QLatin1Char('=') + storedText(value)))
        FileNotices::instance().report(
            QT_TRANSLATE_NOOP("FileNotices", "%1 holds %2=%3, which is no whole number: it reads as absent"),
            {file, key, storedText(value)});
    return number;
}

void reportOutOfRange(const QString &file, const QString &key, const QVariant &value, int first, int last, int used)
{
    if (firstReport(file, key + QLatin1Char('=') + storedText(value)))
        FileNotices::instance().report(
            QT_TRANSLATE_NOOP("FileNotices", "%1 holds %2=%3, which is no whole number from %4 to %5: %6 is used"),
            {file, key, storedText(value), QString::number(first), QString::number(last), QString::number(used)});
}

// A stored number outside first..last, or no whole number, means fallback, and says so.
int readRanged(const QString &file, const QString &key, int first, int last, int fallback,
               int (*parse)(const QString &text, bool *whole))
{
    const QVariant value = readValue(file, key);
    if (!value.isValid())
        return fallback;
    bool whole = false;
    const int number = parse(storedText(value), &whole);
    if (whole && number >= first && number <= last)
        return number;
    reportOutOfRange(file, key, value, first, last, fallback);
    return fallback;
}

int parseNumber(const QString &text, bool *whole)
{
    return text.toInt(whole);
}

int parseId(const QString &text, bool *whole)
{
    int id = 0;
    *whole = parseMatrixId(text, &id);
    return id;
}

QString readString(const QString &file, const QString &key)
{
    return readValue(file, key).toString();
}

// 0 (or absent, or no number, or below 0) means the default size; nothing above the limit.
int channelCount(const QString &key)
{
    const QVariant value = readValue(AppConfigFile, key);
    bool whole = false;
    const int stored = value.toString().toInt(&whole);
    const int count = !whole || stored <= 0 ? Settings::DefaultChannels : qMin(stored, Settings::MaxChannels);
    if (value.isValid() && (!whole || stored < 0 || stored > Settings::MaxChannels))
        reportOutOfRange(AppConfigFile, key, value, 0, Settings::MaxChannels, count);
    return count;
}

} // namespace

int getLangType() { return readInt(AppConfigFile, QStringLiteral("langType")); }
void setLangType(int value) { writeValue(AppConfigFile, QStringLiteral("langType"), value); }
int getType() { return readInt(AppConfigFile, QStringLiteral("type")); }
void setType(int value) { writeValue(AppConfigFile, QStringLiteral("type"), value); }
int getMatrix() { return readInt(AppConfigFile, QStringLiteral("matrix")); }
void setMatrix(int value) { writeValue(AppConfigFile, QStringLiteral("matrix"), value); }
int getInCount() { return channelCount(QStringLiteral("incount")); }
void setInCount(int value) { writeValue(AppConfigFile, QStringLiteral("incount"), value); }
int getOutCount() { return channelCount(QStringLiteral("outcount")); }
void setOutCount(int value) { writeValue(AppConfigFile, QStringLiteral("outcount"), value); }

bool parseMatrixId(const QString &text, int *id)
{
    return MatrixId::read(text, id);
}

int matrixIdOrDefault(const QString &text)
{
    int id = Settings::DefaultMatrixId;
    return parseMatrixId(text, &id) ? id : Settings::DefaultMatrixId;
}

// -1 is what an absent key reads as, stored or not.
int getMatrixId()
{
    const QVariant stored = readValue(UserDataFile, QStringLiteral("id"));
    if (!stored.isValid() || stored.toString() == QLatin1String("-1"))
        return -1;
    return readRanged(UserDataFile, QStringLiteral("id"), 0, Settings::MaxMatrixId, Settings::DefaultMatrixId, parseId);
}
void setMatrixId(int value) { writeValue(UserDataFile, QStringLiteral("id"), value); }
int getAudio() { return readRanged(UserDataFile, QStringLiteral("audio"), 0, Settings::LastSwitchType, 0, parseNumber); }
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

QString getUserDataText(const QString &key) { return storedText(readValue(UserDataFile, key)); }

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
