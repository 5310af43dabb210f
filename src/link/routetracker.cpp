#include "link/routetracker.h"

#include "config/linkparameters.h"
#include "link/protocoladapter.h"
#include "link/routecommand.h"

RouteTracker::RouteTracker(int inputs, int outputs, QObject *parent)
    : QObject(parent)
    , m_state(inputs, outputs)
{
    connect(&protocoladapter::instance(), &protocoladapter::sendData, this, &RouteTracker::record);
}

QString RouteTracker::loadProblem() const
{
    if (!m_state.loadProblem().isEmpty())
        return tr("%1 was not read: %2").arg(RouteState::defaultPath(), m_state.loadProblem());
    if (!m_scenes.loadProblem().isEmpty())
        return tr("%1 was not read: %2").arg(SceneRoutes::defaultPath(), m_scenes.loadProblem());
    return QString();
}

void RouteTracker::record(const QString &text)
{
    const RouteCommand command = RouteCommand::parse(text, linkParameters().matrixId);
    switch (command.kind) {
    case RouteCommand::Route:
        apply(m_state.setRoutes(command.input, command.outputs), m_state.saveProblem());
        break;
    case RouteCommand::ToAll: {
        QVector<int> all(m_state.outputs());
        for (int k = 0; k < all.size(); ++k)
            all[k] = k + 1;
        apply(m_state.setRoutes(command.input, all), m_state.saveProblem());
        break;
    }
    case RouteCommand::OneByOne: {
        // Output n shows input n; outputs beyond the inputs are not known.
        QVector<int> routing(m_state.outputs());
        for (int k = 0; k < routing.size(); ++k)
            routing[k] = k < m_state.inputs() ? k + 1 : 0;
        apply(m_state.setRouting(routing), m_state.saveProblem());
        break;
    }
    case RouteCommand::SaveScene:
        m_scenes.setRouting(command.scene, m_state.routing());
        apply(false, m_scenes.saveProblem());
        break;
    case RouteCommand::CallScene:
        apply(m_state.setRouting(m_scenes.routing(command.scene)), m_state.saveProblem());
        break;
    case RouteCommand::None:
        break;
    }
}

void RouteTracker::apply(bool anyChange, const QString &saveProblem)
{
    if (!saveProblem.isEmpty())
        emit notice(tr("the routing was not stored: %1").arg(saveProblem));
    if (anyChange)
        emit changed();
}
