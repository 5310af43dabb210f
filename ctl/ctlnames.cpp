#include "ctlnames.h"

#include "config/initext.h"
#include "config/scenestore.h"
#include "config/settings.h"
#include "link/argcheck.h"

#include <QFile>

namespace {

// A name with an unquoted comma reads back as a list, as in the window's stores.
QStringList readNames(const QString &file, IniText text, const QString &group, int count)
{
    QStringList names;
    if (!QFile::exists(file))
        return names;
    const auto settings = openIni(file, text);
    settings->beginGroup(group);
    for (int n = 1; n <= count; ++n) {
        const QVariant value = settings->value(QString::number(n));
        names << (value.userType() == QMetaType::QStringList ? value.toStringList().join(QStringLiteral(", "))
                                                             : value.toString());
    }
    return names;
}

} // namespace

CtlNames::CtlNames(int inputs, int outputs)
    : m_inputs(inputs > 0 ? inputs : getInCount())
    , m_outputs(outputs > 0 ? outputs : getOutCount())
{
}

bool CtlNames::channel(const QString &word, Side side, int *number, QString *error)
{
    const bool input = side == Side::Input;
    if (!ArgCheck::digits(word))
        readAliases();
    QStringList names = input ? m_inputNames : m_outputNames;
    const int count = input ? m_inputs : m_outputs;
    while (names.size() < count)
        names << QString();
    return find(word, input ? QStringLiteral("input") : QStringLiteral("output"), names.mid(0, count), number, error);
}

bool CtlNames::scene(const QString &word, int *number, QString *error)
{
    if (!ArgCheck::digits(word) && m_sceneNames.isEmpty())
        m_sceneNames = readNames(QStringLiteral("SceneConfig.ini"), IniText::Gb18030, QStringLiteral("SceneConfig"),
                                 SceneStore::SceneCount);
    QStringList names = m_sceneNames;
    while (names.size() < SceneStore::SceneCount)
        names << QString();
    return find(word, QStringLiteral("scene"), names, number, error);
}

void CtlNames::readAliases()
{
    if (m_aliasesRead)
        return;
    m_aliasesRead = true;
    const QString file = QStringLiteral("AliasConfig.ini");
    m_inputNames = readNames(file, IniText::Utf8, QStringLiteral("InputAlias"), Settings::MaxChannels);
    m_outputNames = readNames(file, IniText::Utf8, QStringLiteral("OutputAlias"), Settings::MaxChannels);
}

// Digits are always a number, so that a name such as "5" cannot move a channel.
bool CtlNames::find(const QString &word, const QString &what, const QStringList &names, int *number, QString *error)
{
    if (ArgCheck::digits(word)) {
        if (ArgCheck::number(word, 1, names.size(), number))
            return true;
        *error = QStringLiteral("%1 \"%2\" is not one from 1 to %3").arg(what, word).arg(names.size());
        return false;
    }
    QStringList hits;
    QStringList all;
    for (int i = 0; i < names.size(); ++i) {
        const QString candidate = QStringLiteral("%1 \"%2\"").arg(i + 1).arg(names.at(i));
        if (!names.at(i).isEmpty())
            all << candidate;
        if (!word.isEmpty() && names.at(i).compare(word, Qt::CaseInsensitive) == 0) {
            hits << candidate;
            *number = i + 1;
        }
    }
    if (hits.size() == 1)
        return true;
    if (hits.isEmpty())
        *error = QStringLiteral("no %1 is named \"%2\"; the %1s are %3").arg(what, word, all.isEmpty()
            ? QStringLiteral("numbered 1 to %1").arg(names.size()) : all.join(QStringLiteral(", ")));
    else
        *error = QStringLiteral("%1 \"%2\" is ambiguous: %3").arg(what, word, hits.join(QStringLiteral(", ")));
    return false;
}
