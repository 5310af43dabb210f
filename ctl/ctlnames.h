#pragma once

#include <QString>
#include <QStringList>

// The window's limits and names for command words: the matrix's channel
// counts from AppConfig.ini, the channel names from AliasConfig.ini and the
// scene names from SceneConfig.ini. Files are read when first needed, and
// never written.
class CtlNames
{
public:
    enum class Side { Input, Output };

    // A count of 0 takes that side's count from AppConfig.ini.
    CtlNames(int inputs = 0, int outputs = 0);

    // A number within the side's count, or a name matched whole, in any case.
    bool channel(const QString &word, Side side, int *number, QString *error);
    // A number from 1 to 16, or a scene name matched in the same way.
    bool scene(const QString &word, int *number, QString *error);

private:
    void readAliases();
    // names[i] is the name of number i + 1.
    static bool find(const QString &word, const QString &what, const QStringList &names, int *number, QString *error);

    int m_inputs;
    int m_outputs;
    bool m_aliasesRead = false;
    QStringList m_inputNames;
    QStringList m_outputNames;
    QStringList m_sceneNames;
};
