#include "support/testenv.h"

#include <QDir>
#include <QFile>

TestEnv::TestEnv(bool withRunFiles)
    : m_previous(QDir::currentPath())
{
    QDir::setCurrent(m_dir.path());
    if (!withRunFiles)
        return;
    const QString run = QStringLiteral(MC_RUN_DIR);
    QFile::copy(run + QStringLiteral("/resource.dll"), filePath(QStringLiteral("resource.dll")));
    QDir().mkpath(filePath(QStringLiteral("Lang")));
    for (const char *qm : {"zh_cn.qm", "zh_tw.qm"}) {
        QFile::copy(run + QStringLiteral("/Lang/") + QLatin1String(qm),
                    filePath(QStringLiteral("Lang/") + QLatin1String(qm)));
    }
}

TestEnv::~TestEnv()
{
    QDir::setCurrent(m_previous);
}

QString TestEnv::filePath(const QString &name) const
{
    return m_dir.filePath(name);
}

QByteArray TestEnv::readFile(const QString &name) const
{
    QFile file(filePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

void TestEnv::writeFile(const QString &name, const QByteArray &content) const
{
    QFile file(filePath(name));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(content);
}
