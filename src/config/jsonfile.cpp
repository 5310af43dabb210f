#include "config/jsonfile.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QSaveFile>

QJsonObject JsonFile::read(const QString &path, QString *problem)
{
    problem->clear();
    QFile file(path);
    if (!file.exists())
        return QJsonObject();
    if (!file.open(QIODevice::ReadOnly)) {
        *problem = file.errorString();
        return QJsonObject();
    }
    QJsonParseError error {};
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (!document.isObject()) {
        *problem = error.error != QJsonParseError::NoError ? error.errorString() : QStringLiteral("not a JSON object");
        return QJsonObject();
    }
    return document.object();
}

QString JsonFile::write(const QString &path, const QJsonObject &object)
{
    const QByteArray content = QJsonDocument(object).toJson(QJsonDocument::Compact);
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.commit())
        return QString();
    return file.errorString();
}
