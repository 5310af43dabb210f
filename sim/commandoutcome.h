#pragma once

#include <QByteArray>
#include <QString>

// What the device made of one command: whether it acted, what it did, and the
// bytes it answers with (only the network card query has an answer).
struct CommandOutcome
{
    enum class Result {
        Ok,       // understood and carried out
        Ignored,  // well formed, but addressed to another matrix ID
        Invalid,  // well formed, but a number is out of range (state unchanged)
        Unknown   // not a command of this device
    };

    Result result = Result::Unknown;
    // Short machine name of the action ("route", "scene-save", ...); empty for unknown text.
    QString action;
    // One human-readable phrase about what happened.
    QString detail;
    // The matrix ID the command carried; -1 for the unaddressed form and the network commands.
    int address = -1;
    // Scene number for scene commands, 0 otherwise.
    int scene = 0;
    QByteArray reply;

    static QString resultName(Result result)
    {
        switch (result) {
        case Result::Ok:
            return QStringLiteral("ok");
        case Result::Ignored:
            return QStringLiteral("ignored");
        case Result::Invalid:
            return QStringLiteral("invalid");
        case Result::Unknown:
            break;
        }
        return QStringLiteral("unknown");
    }
};
