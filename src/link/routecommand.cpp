#include "link/routecommand.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

QRegularExpression anchored(const char *pattern)
{
    return QRegularExpression(QStringLiteral("^%1$").arg(QLatin1String(pattern)));
}

// An unaddressed command reaches every matrix, ours included.
bool forUs(const QString &id, int matrixId)
{
    bool ok = false;
    return id.isEmpty() || (id.toInt(&ok) == matrixId && ok);
}

} // namespace

RouteCommand RouteCommand::parse(const QString &text, int matrixId)
{
    static const QRegularExpression routeRx = anchored("(?:([0-9]+)D)?([0-9]+)V([0-9]+(?:,[0-9]+)*)\\.");
    static const QRegularExpression toAllRx = anchored("(?:([0-9]+)D)?([0-9]+)TOALL\\.");
    static const QRegularExpression oneByOneRx = anchored("([0-9]*)TOONE\\.");
    static const QRegularExpression sceneRx = anchored("([0-9]*)(SAVE|CALL)([0-9]+)");

    RouteCommand command;
    QRegularExpressionMatch m;
    if ((m = routeRx.match(text)).hasMatch() && forUs(m.captured(1), matrixId)) {
        command.kind = Route;
        command.input = m.captured(2).toInt();
        const QStringList outputs = m.captured(3).split(QLatin1Char(','));
        for (const QString &output : outputs)
            command.outputs << output.toInt();
    } else if ((m = toAllRx.match(text)).hasMatch() && forUs(m.captured(1), matrixId)) {
        command.kind = ToAll;
        command.input = m.captured(2).toInt();
    } else if ((m = oneByOneRx.match(text)).hasMatch() && forUs(m.captured(1), matrixId)) {
        command.kind = OneByOne;
    } else if ((m = sceneRx.match(text)).hasMatch() && forUs(m.captured(1), matrixId)) {
        command.kind = m.captured(2) == QLatin1String("SAVE") ? SaveScene : CallScene;
        command.scene = m.captured(3).toInt();
    }
    return command;
}
