#include "config/initext.h"

#include <QtGlobal>

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryFile>

namespace {

const char *const Gb18030 = "GB18030";

// Qt parses and writes INI text only in UTF-8 files, so GB18030 text goes
// through a scratch UTF-8 copy that Qt's own INI code reads or writes: the
// keys, escapes and quoting stay exactly those of a plain INI file.
bool parseUtf8Ini(const QByteArray &text, QSettings::SettingsMap &map)
{
    QTemporaryFile copy;
    if (!copy.open() || copy.write(text) != text.size())
        return false;
    copy.close();
    QSettings ini(copy.fileName(), QSettings::IniFormat);
    const QStringList keys = ini.allKeys(); // parses every section
    for (const QString &key : keys)
        map.insert(key, ini.value(key));
    return ini.status() == QSettings::NoError;
}

QString decodeGb18030(const QByteArray &bytes, bool *ok)
{
    QStringDecoder decode(Gb18030);
    *ok = decode.isValid(); // a Qt built without ICU has no GB18030
    return decode(bytes);
}

bool readGb18030(QIODevice &device, QSettings::SettingsMap &map)
{
    bool ok = false;
    const QString text = decodeGb18030(device.readAll(), &ok);
    if (ok)
        parseUtf8Ini(text.toUtf8(), map); // damage: see iniStatus()
    return ok;
}

bool writeGb18030(QIODevice &device, const QSettings::SettingsMap &map)
{
    QTemporaryFile copy;
    if (!copy.open())
        return false;
    copy.close();
    {
        QSettings ini(copy.fileName(), QSettings::IniFormat);
        for (auto it = map.cbegin(); it != map.cend(); ++it)
            ini.setValue(it.key(), it.value());
        ini.sync();
        if (ini.status() != QSettings::NoError)
            return false;
    }
    // Read by name: the write replaced the scratch file with a new one.
    QFile written(copy.fileName());
    QStringEncoder encode(Gb18030);
    if (!encode.isValid() || !written.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = encode(QString::fromUtf8(written.readAll()));
    return device.write(bytes) == bytes.size();
}

QSettings::Format gb18030Format()
{
    static const QSettings::Format format =
        QSettings::registerFormat(QStringLiteral("ini"), readGb18030, writeGb18030);
    return format;
}

} // namespace

std::unique_ptr<QSettings> openIni(const QString &file, IniText text)
{
    if (text == IniText::Utf8)
        return std::make_unique<QSettings>(file, QSettings::IniFormat);
    return std::make_unique<QSettings>(file, gb18030Format());
}

QSettings::Status iniStatus(const QSettings &settings)
{
    if (settings.status() != QSettings::NoError || settings.format() != gb18030Format())
        return settings.status();
    QFile file(settings.fileName());
    bool ok = false;
    QSettings::SettingsMap map;
    if (file.open(QIODevice::ReadOnly)
        && !parseUtf8Ini(decodeGb18030(file.readAll(), &ok).toUtf8(), map))
        return QSettings::FormatError;
    return QSettings::NoError;
}

#else

std::unique_ptr<QSettings> openIni(const QString &file, IniText text)
{
    auto settings = std::make_unique<QSettings>(file, QSettings::IniFormat);
    // GB18030 reads every GB2312/GBK file of earlier versions byte for byte the
    // same, and unlike GB2312 it can write Korean, kana and the rest of Unicode.
    settings->setIniCodec(text == IniText::Gb18030 ? "GB18030" : "UTF-8");
    return settings;
}

QSettings::Status iniStatus(const QSettings &settings)
{
    return settings.status();
}

#endif
