#pragma once

#include <QString>
#include <QTemporaryDir>

// Every test executable runs in a fresh working directory, because the program
// reads and writes all of its files there.
class TestEnv
{
public:
    // Creates the directory and makes it current. withRunFiles copies the built
    // resource.dll and Lang/ into it, as a real installation has them.
    explicit TestEnv(bool withRunFiles = false);
    ~TestEnv();

    QString filePath(const QString &name) const;
    // Reads a file of the working directory whole (empty when missing).
    QByteArray readFile(const QString &name) const;
    void writeFile(const QString &name, const QByteArray &content) const;

private:
    QTemporaryDir m_dir;
    QString m_previous;
};
