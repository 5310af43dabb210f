#include "config/initext.h"

#include "config/iniutf8codec.h"

#include <QFile>
#include <QTemporaryFile>
#include <QtGlobal>

#include <optional>

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
#include <QStringDecoder>
#include <QStringEncoder>
#else
#include <QTextCodec>
#endif

namespace {

// GB18030 reads every GB2312/GBK file of earlier versions byte for byte the same,
// and unlike GB2312 it can write Korean, kana and the rest of Unicode.
const char *const Gb18030 = "GB18030";

// Nothing where the Qt build has no GB18030 (Qt 6 without ICU).
std::optional<QString> decodeGb18030(const QByteArray &bytes)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    QStringDecoder decode(Gb18030);
    if (!decode.isValid())
        return std::nullopt;
    return decode(bytes);
#else
    const QTextCodec *codec = QTextCodec::codecForName(Gb18030);
    if (!codec)
        return std::nullopt;
    return codec->toUnicode(bytes);
#endif
}

std::optional<QByteArray> encodeGb18030(const QString &text)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    QStringEncoder encode(Gb18030);
    if (!encode.isValid())
        return std::nullopt;
    return QByteArray(encode(text));
#else
    const QTextCodec *codec = QTextCodec::codecForName(Gb18030);
    if (!codec)
        return std::nullopt;
    return codec->fromUnicode(text);
#endif
}

std::unique_ptr<QSettings> utf8Ini(const QString &file)
{
    auto settings = std::make_unique<QSettings>(file, QSettings::IniFormat);
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    settings->setIniCodec(IniUtf8Codec::instance()); // Qt 6's only INI text
#endif
    return settings;
}

// Qt parses and writes INI text only in UTF-8 (Qt 6) or a codec of its own
// choosing, so GB18030 text goes through a scratch UTF-8 copy that Qt's own INI
// code reads or writes: keys, escapes and quoting stay those of a plain INI file,
// and both builds write the same bytes.
bool parseUtf8Ini(const QByteArray &text, QSettings::SettingsMap &map)
{
    QTemporaryFile copy;
    if (!copy.open() || copy.write(text) != text.size())
        return false;
    copy.close();
    const auto ini = utf8Ini(copy.fileName());
    const QStringList keys = ini->allKeys(); // parses every section
    for (const QString &key : keys)
        map.insert(key, ini->value(key));
    return ini->status() == QSettings::NoError;
}

bool readGb18030(QIODevice &device, QSettings::SettingsMap &map)
{
    const std::optional<QString> text = decodeGb18030(device.readAll());
    if (text)
        parseUtf8Ini(text->toUtf8(), map); // damage: see iniStatus()
    return text.has_value();
}

bool writeGb18030(QIODevice &device, const QSettings::SettingsMap &map)
{
    QTemporaryFile copy;
    if (!copy.open())
        return false;
    copy.close();
    {
        const auto ini = utf8Ini(copy.fileName());
        for (auto it = map.cbegin(); it != map.cend(); ++it)
            ini->setValue(it.key(), it.value());
        ini->sync();
        if (ini->status() != QSettings::NoError)
            return false;
    }
    // Read by name: the write replaced the scratch file with a new one.
    QFile written(copy.fileName());
    if (!written.open(QIODevice::ReadOnly))
        return false;
    const std::optional<QByteArray> bytes = encodeGb18030(QString::fromUtf8(written.readAll()));
    return bytes && device.write(*bytes) == bytes->size();
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
        return utf8Ini(file);
    return std::make_unique<QSettings>(file, gb18030Format());
}

QSettings::Status iniStatus(const QSettings &settings)
{
    if (settings.status() != QSettings::NoError || settings.format() != gb18030Format())
        return settings.status();
    QFile file(settings.fileName());
    QSettings::SettingsMap map;
    if (file.open(QIODevice::ReadOnly)
        && !parseUtf8Ini(decodeGb18030(file.readAll()).value_or(QString()).toUtf8(), map))
        return QSettings::FormatError;
    return QSettings::NoError;
}
