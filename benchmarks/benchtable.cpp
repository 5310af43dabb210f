#include "benchtable.h"

void BenchTable::addRow(const QString &measure, const QString &result, const QString &target, bool met)
{
    m_rows.append({ measure, result, target, met ? QStringLiteral("met") : QStringLiteral("MISSED") });
    m_allMet = m_allMet && met;
}

void BenchTable::addNote(const QString &measure, const QString &result)
{
    m_rows.append({ measure, result, QString(), QString() });
}

QString BenchTable::toMarkdown() const
{
    QString out = QStringLiteral("| measure | result | target | |\n|---|---|---|---|\n");
    for (const Row &row : m_rows)
        out += QStringLiteral("| %1 | %2 | %3 | %4 |\n").arg(row.measure, row.result, row.target, row.verdict);
    return out;
}

bool BenchTable::allMet() const
{
    return m_allMet;
}
