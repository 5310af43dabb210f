#pragma once

#include <QJsonObject>
#include <QString>

// A JSON object kept whole in one file of its own, for the small state files.
class JsonFile
{
public:
    // The object in the file: empty when the file is absent; empty with
    // *problem saying why when it exists but holds no JSON object.
    static QJsonObject read(const QString &path, QString *problem);
    // Replaces the file atomically; empty on success, else why it failed.
    static QString write(const QString &path, const QJsonObject &object);
};
