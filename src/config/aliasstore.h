#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QSettings;

// Tells whether "AliasConfig.ini" is absent from the working directory.
bool aliasFileMissing();

// The operator's names for the matrix inputs and outputs, always 64 a side.
// Read from "AliasConfig.ini" when created; written back at every change and
// when destroyed.
class AliasStore
{
public:
    AliasStore();
    ~AliasStore();

    QString inputAlias(int index) const;
    QString outputAlias(int index) const;
    void setInputAlias(int index, const QString &name);
    void setOutputAlias(int index, const QString &name);

private:
    Q_DISABLE_COPY(AliasStore)

    void createDefaults();
    void load();
    void save();
    void writeBack();

    std::unique_ptr<QSettings> m_settings;
    QStringList m_inputNames;
    QStringList m_outputNames;
};
