#pragma once

#include <QString>
#include <QVector>

// What a command text, as it went to the wire, does to the routing of the
// matrix the window addresses: the one reading of routing commands shared by
// every path that sends them, typed console text included.
class RouteCommand
{
public:
    enum Kind { None, Route, ToAll, OneByOne, SaveScene, CallScene };

    // matrixId: the ID the window addresses; a command for another matrix is None.
    static RouteCommand parse(const QString &text, int matrixId);

    Kind kind = None;
    int input = 0;
    QVector<int> outputs;
    int scene = 0;
};
