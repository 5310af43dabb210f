#pragma once

#include "config/routestate.h"
#include "config/sceneroutes.h"

#include <QObject>

// Learns the routing from every command the adapter sends, whichever panel
// sent it, and keeps it in RouteState. A scene saved from here remembers the
// routing shown; calling it shows that routing again, and calling a scene this
// program never saved makes every output unknown.
class RouteTracker : public QObject
{
    Q_OBJECT

public:
    RouteTracker(int inputs, int outputs, QObject *parent = nullptr);

    const RouteState &state() const { return m_state; }
    // Why a stored file could not be used, empty when all was well.
    QString loadProblem() const;

    // text: a command as it went to the wire.
    void record(const QString &text);

signals:
    void changed();
    void notice(const QString &text);

private:
    void apply(bool anyChange, const QString &saveProblem);

    RouteState m_state;
    SceneRoutes m_scenes;
};
