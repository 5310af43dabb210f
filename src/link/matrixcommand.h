#pragma once

#include <QString>
#include <QStringList>

// Builds the command texts of the matrix. Addressed commands take the matrix ID
// from the link parameters at the moment they are built.
class matrixcommand
{
public:
    QString makeSwitch(int input, int output) const;
    QString makeSwitchMulti(int input, const QStringList &outputs) const;
    QString makeSwitchToAll(int input) const;
    QString makeOneByOne() const;
    QString makeSaveScene(int scene) const;
    QString makeCallScene(int scene) const;
    QString makeBuzzerOn() const;
    QString makeBuzzerOff() const;
    QString makeEdid(int input, int output) const;
    QString makeNetSetting(const QString &text) const;
    QString makeNetQuery() const;
    QString makeNetReset() const;

    // The text as it goes to the wire: matrix ID 0 addresses every matrix, so
    // its leading "0" and every "D" are dropped.
    static QString wireText(QString command);
};
