#pragma once

// The one harness of the fuzz targets (README.md), included once by each.
#include "config/initext.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <memory>
#include <optional>

// What a target feeds and what it checks, for one input.
void fuzzInput(const QByteArray &input);

// Aborts with the message, so libFuzzer records the input as a finding.
#define FUZZ_CHECK(condition, ...) \
    ((condition) ? void() : qFatal("fuzz invariant broken: %s %s", #condition, qPrintable(QString(__VA_ARGS__))))

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // A settings value may hold a serialized font, which needs the GUI application.
    qputenv("QT_LOGGING_RULES", "*=false");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QApplication(*argc, *argv); // never destroyed: tearing Qt down is not under test
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString home = QDir::currentPath(); // libFuzzer's paths may be relative
    fuzzInput(QByteArray(reinterpret_cast<const char *>(data), static_cast<int>(size)));
    QDir::setCurrent(home);
    return 0;
}

// Outcomes of Qt's own (uninstrumented) parsers, read by libFuzzer as coverage.
__attribute__((section("__libfuzzer_extra_counters"))) unsigned char g_features[4096];

// A fresh working directory with these files while the result lives, so that QSettings'
// cache never hands one input's content to the next; INI files report how they parsed.
inline std::unique_ptr<QTemporaryDir> fuzzDir(const QList<QPair<QString, QByteArray>> &files,
                                              std::optional<IniText> ini = std::nullopt)
{
    auto dir = std::make_unique<QTemporaryDir>();
    FUZZ_CHECK(dir->isValid() && QDir::setCurrent(dir->path()));
    for (const auto &file : files) {
        QFile out(file.first);
        FUZZ_CHECK(out.open(QIODevice::WriteOnly) && out.write(file.second) == file.second.size());
    }
    for (int i = 0; ini && i < files.size(); ++i) {
        const auto settings = openIni(files.at(i).first, *ini);
        ++g_features[i * 2048 + iniStatus(*settings) + 4 * qMin(settings->childGroups().size(), 15)
                     + 64 * qMin(settings->allKeys().size(), 30)];
    }
    return dir;
}

inline QByteArray readFile(const QString &name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Three stores in a row, each reading the names and writing the file as it goes: the
// second reads what the first read, and from then on the file stays as it is.
template<typename ReadNames>
void checkNamesSurvive(const QString &file, ReadNames readNames)
{
    const QStringList first = readNames();
    FUZZ_CHECK(!readFile(file).isEmpty(), "the store left no file");
    const QStringList second = readNames();
    for (int i = 0; i < first.size(); ++i) {
        const QByteArray utf8 = first.at(i).toUtf8(); // lossy only for an unpaired surrogate (\x escapes)
        FUZZ_CHECK(QString::fromUtf8(utf8.constData(), utf8.size()) != first.at(i) || first.at(i) == second.value(i),
                   first.at(i));
    }
    const QByteArray written = readFile(file);
    FUZZ_CHECK(readNames() == second && readFile(file) == written);
}
