#pragma once

#include <QString>
#include <QVector>

// The one table the benchmark prints: what was measured, the result, the
// target and whether it was met. Printed as Markdown, so that it can go into
// the README as it is.
class BenchTable
{
public:
    void addRow(const QString &measure, const QString &result, const QString &target, bool met);
    // A row without a target (details, breakdowns).
    void addNote(const QString &measure, const QString &result);
    QString toMarkdown() const;
    bool allMet() const;

private:
    struct Row
    {
        QString measure;
        QString result;
        QString target;
        QString verdict;
    };
    QVector<Row> m_rows;
    bool m_allMet = true;
};
