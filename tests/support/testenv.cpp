#include "support/testenv.h"

TestEnv::TestEnv(bool withRunFiles)
{
    QDir::setCurrent(m_dir.path());
    if (!withRunFiles)
        return;
    QDir().mkdir(QStringLiteral("Lang"));
    for (const char *file : {"resource.dll", "Lang/zh_cn.qm", "Lang/zh_tw.qm"})
        QFile::copy(QStringLiteral(MC_RUN_DIR "/") + file, QString::fromLatin1(file));
}

QByteArray TestEnv::readFile(const QString &name) const
{
    QFile file(filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestEnv::writeFile(const QString &name, const QByteArray &content) const
{
    QFile file(filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qWarning("could not write %s", qPrintable(name));
}
