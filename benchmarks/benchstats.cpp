#include "benchstats.h"

#include <algorithm>
#include <cmath>

BenchStats::BenchStats(QVector<double> values)
    : m_sorted(std::move(values))
{
    std::sort(m_sorted.begin(), m_sorted.end());
}

int BenchStats::count() const
{
    return m_sorted.size();
}

double BenchStats::median() const
{
    if (m_sorted.isEmpty())
        return 0;
    const int n = m_sorted.size();
    return n % 2 ? m_sorted.at(n / 2) : (m_sorted.at(n / 2 - 1) + m_sorted.at(n / 2)) / 2;
}

double BenchStats::percentile(double p) const
{
    if (m_sorted.isEmpty())
        return 0;
    const int rank = static_cast<int>(std::ceil(p / 100.0 * m_sorted.size()));
    return m_sorted.at(std::clamp(rank, 1, m_sorted.size()) - 1);
}

double BenchStats::max() const
{
    return m_sorted.isEmpty() ? 0 : m_sorted.last();
}
