#pragma once

#include <QString>
#include <QVector>

// The routing as sent from this side: which input each output carries,
// counted from 1, 0 where unknown. Our matrix cannot be asked what it carries,
// so this is the last known routing, kept in "RouteState.json" in the working
// directory and written whole, atomically, at every change. The window and the
// gateway keep the same file.
class RouteState
{
public:
    // Reads the file at once; entries beyond the channel counts, or naming an
    // input the matrix lacks, read as unknown.
    RouteState(int inputs, int outputs, const QString &path = defaultPath());

    static QString defaultPath();

    int inputs() const { return m_inputs; }
    int outputs() const { return m_outputs; }
    // 0 for an output out of range or never routed.
    int inputOf(int output) const;
    QVector<int> routing() const { return m_routing; }

    // Each returns whether anything changed (and so was written).
    bool setRoute(int input, int output);
    bool setRoutes(int input, const QVector<int> &outputs);
    bool setRouting(const QVector<int> &routing);

    // Why the file could not be used at start, empty when it could (or was absent).
    QString loadProblem() const { return m_loadProblem; }
    // Why the last write failed, empty when it succeeded.
    QString saveProblem() const { return m_saveProblem; }

private:
    void load();
    void save();
    bool valid(int input) const { return input >= 1 && input <= m_inputs; }

    int m_inputs;
    int m_outputs;
    QString m_path;
    QVector<int> m_routing;
    QString m_loadProblem;
    QString m_saveProblem;
};
