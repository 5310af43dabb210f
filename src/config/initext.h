#pragma once

#include <QSettings>

#include <memory>

// The text encoding of an INI file. Qt 6 reads and writes INI files in UTF-8
// only: opened through here, the Qt 5 and Qt 6 builds read and write every file
// the same way, byte for byte.
enum class IniText { Utf8, Gb18030 };

std::unique_ptr<QSettings> openIni(const QString &file, IniText text);

// The settings' status, with a damaged GB18030 file as FormatError: such a file
// is read through a format of its own, whose damage Qt would report only by
// dropping every key, the sound ones included.
QSettings::Status iniStatus(const QSettings &settings);
