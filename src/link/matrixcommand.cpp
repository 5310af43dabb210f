#include "link/matrixcommand.h"

#include "config/linkparameters.h"

namespace {

int matrixId()
{
    return linkParameters().matrixId;
}

} // namespace

QString matrixcommand::makeSwitch(int input, int output) const
{
    return QStringLiteral("%1D%2V%3.").arg(matrixId()).arg(input).arg(output);
}

QString matrixcommand::makeSwitchMulti(int input, const QStringList &outputs) const
{
    QString command = QStringLiteral("%1D%2V").arg(matrixId()).arg(input);
    for (const QString &output : outputs)
        command += output + QLatin1Char(',');
    command.chop(1);
    command += QLatin1Char('.');
    return command;
}

QString matrixcommand::makeSwitchToAll(int input) const
{
    return QStringLiteral("%1D%2TOALL.").arg(matrixId()).arg(input, 2, 10, QLatin1Char('0'));
}

QString matrixcommand::makeOneByOne() const
{
    return QStringLiteral("%1TOONE.").arg(matrixId());
}

QString matrixcommand::makeSaveScene(int scene) const
{
    return QStringLiteral("%1SAVE%2").arg(matrixId()).arg(scene);
}

QString matrixcommand::makeCallScene(int scene) const
{
    return QStringLiteral("%1CALL%2").arg(matrixId()).arg(scene);
}

QString matrixcommand::makeBuzzerOn() const
{
    return QStringLiteral("%1BUZON").arg(matrixId());
}

QString matrixcommand::makeBuzzerOff() const
{
    return QStringLiteral("%1BUZOFF").arg(matrixId());
}

// The device wants the output after "D" and the input after "E".
QString matrixcommand::makeEdid(int input, int output) const
{
    return QStringLiteral("%1D%2E%3.").arg(matrixId()).arg(output).arg(input);
}

QString matrixcommand::makeNetSetting(const QString &text) const
{
    return QStringLiteral("HWS%1").arg(text);
}

QString matrixcommand::makeNetQuery() const
{
    return QStringLiteral("HWC");
}

QString matrixcommand::makeNetReset() const
{
    return QStringLiteral("HWR");
}

QString matrixcommand::wireText(QString command)
{
    if (command.startsWith(QLatin1Char('0')))
        command.remove(0, 1);
    if (linkParameters().matrixId == 0)
        command.remove(QLatin1Char('D'), Qt::CaseSensitive);
    return command;
}
