#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// A fresh working directory, current while this lives: the program reads and writes all of its files there.
class TestEnv
{
public:
    // withRunFiles: with the built resource.dll and Lang/, as an installation has them.
    explicit TestEnv(bool withRunFiles = false);
    ~TestEnv() { QDir::setCurrent(m_previous); }

    QString filePath(const QString &name) const { return m_dir.filePath(name); }
    QByteArray readFile(const QString &name) const; // empty when missing
    void writeFile(const QString &name, const QByteArray &content) const;

private:
    QTemporaryDir m_dir;
    QString m_previous = QDir::currentPath();
};
