#pragma once

#include <QString>
#include <QVector>

// Order statistics over one series of measurements (any unit).
class BenchStats
{
public:
    explicit BenchStats(QVector<double> values);

    int count() const;
    double median() const;
    // Nearest-rank percentile, p in (0, 100].
    double percentile(double p) const;
    double max() const;

private:
    QVector<double> m_sorted;
};
