#include "config/routestate.h"

#include "config/jsonfile.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>

#include <algorithm>

namespace {

const QString StateName = QStringLiteral("RouteState.json");
const QString InputsKey = QStringLiteral("inputs");
const QString OutputsKey = QStringLiteral("outputs");
const QString RoutingKey = QStringLiteral("routing");

} // namespace

RouteState::RouteState(int inputs, int outputs, const QString &path)
    : m_inputs(std::max(inputs, 0))
    , m_outputs(std::max(outputs, 0))
    , m_path(path)
    , m_routing(m_outputs, 0)
{
    load();
}

QString RouteState::defaultPath()
{
    return QDir::currentPath() + QLatin1Char('/') + StateName;
}

int RouteState::inputOf(int output) const
{
    return output >= 1 && output <= m_outputs ? m_routing.at(output - 1) : 0;
}

bool RouteState::setRoute(int input, int output)
{
    return setRoutes(input, {output});
}

bool RouteState::setRoutes(int input, const QVector<int> &outputs)
{
    if (!valid(input))
        return false;
    bool changed = false;
    for (int output : outputs) {
        if (output < 1 || output > m_outputs || m_routing.at(output - 1) == input)
            continue;
        m_routing[output - 1] = input;
        changed = true;
    }
    if (changed)
        save();
    return changed;
}

bool RouteState::setRouting(const QVector<int> &routing)
{
    QVector<int> next(m_outputs, 0);
    for (int i = 0; i < std::min(m_outputs, int(routing.size())); ++i)
        next[i] = valid(routing.at(i)) ? routing.at(i) : 0;
    if (next == m_routing)
        return false;
    m_routing = next;
    save();
    return true;
}

void RouteState::load()
{
    if (!QFile::exists(m_path))
        return;
    const QJsonObject root = JsonFile::read(m_path, &m_loadProblem);
    if (!m_loadProblem.isEmpty())
        return;
    const QJsonValue routing = root.value(RoutingKey);
    if (!routing.isArray()) {
        m_loadProblem = QStringLiteral("no routing list");
        return;
    }
    // A file written for other channel counts still tells what the outputs
    // that exist on both carry.
    const QJsonArray entries = routing.toArray();
    for (int i = 0; i < std::min(m_outputs, int(entries.size())); ++i) {
        const QJsonValue entry = entries.at(i);
        const int input = entry.isDouble() && entry.toDouble() == entry.toInt() ? entry.toInt() : 0;
        m_routing[i] = valid(input) ? input : 0;
    }
}

void RouteState::save()
{
    QJsonObject root;
    root.insert(InputsKey, m_inputs);
    root.insert(OutputsKey, m_outputs);
    QJsonArray routing;
    for (int input : qAsConst(m_routing))
        routing.append(input);
    root.insert(RoutingKey, routing);
    m_saveProblem = JsonFile::write(m_path, root);
}
