#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A fresh, empty working directory for one fuzz input: the program reads and
// writes all of its files in the current directory, and QSettings keeps a
// per-path cache that must never hand one input's content to the next.
class FuzzWorkDir
{
public:
    FuzzWorkDir();
    ~FuzzWorkDir();

    bool isValid() const;
    void writeFile(const QString &name, const QByteArray &content) const;
    // The file's bytes; a null array when it does not exist.
    QByteArray readFile(const QString &name) const;
    bool exists(const QString &name) const;

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

// Called once from LLVMFuzzerInitialize: the application object (offscreen)
// and a message handler that keeps the program's debug lines off the console.
void initFuzzing(int *argc, char ***argv);

// Qt itself carries no coverage instrumentation, so the fuzzer would not see
// what the settings or JSON parsers made of an input. The targets report
// outcomes (which key read as which type, which status) as extra features.
void fuzzFeature(unsigned id);

// Aborts with the message, so libFuzzer records the input as a finding.
[[noreturn]] void fuzzFailure(const char *what, const QString &detail = QString());
#define FUZZ_CHECK(condition, detail) \
    do { \
        if (!(condition)) \
            fuzzFailure(#condition, detail); \
    } while (false)
