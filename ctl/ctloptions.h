#pragma once

#include "ctlcommand.h"

#include <QList>
#include <QString>
#include <QStringList>

class QCommandLineParser;
class CtlNames;

// matrixctl's command line: where the matrix is, how to address it, how to
// answer, and the commands. Reading it opens no link and writes no file.
class CtlOptions
{
public:
    enum class Parse { Ok, Help, Version, Error };
    enum class Link { None, Tcp, Serial };

    // The command "-" reads commands from standard input, one a line.
    Parse parse(const QStringList &arguments);
    QString errorText() const;
    // The whole --help text, with examples.
    QString helpText() const;
    // Whether any of the commands goes to the matrix.
    bool needsLink() const;

    Link link = Link::None;
    // Tcp: host and port; Serial: the port's name and the baud rate.
    QString address;
    QString port;
    QString book = QStringLiteral("ipmanager");
    int matrixId = 1;
    bool json = false;
    bool quiet = false;
    // How long net get waits for its answer; 0: the link's own wait.
    int timeoutMs = 0;
    // How long to wait for a serial port that another program holds.
    int waitSeconds = 0;
    QList<CtlCommand> commands;

private:
    bool readValues(const QCommandLineParser &parser);
    bool readCommands(const QStringList &words, bool hex, CtlNames &names);
    bool readMatrixId(const QCommandLineParser &parser);
    bool readLink(const QString &tcp, const QString &serial, const QString &baud, const QString &device);
    bool readTcp(const QString &text);
    bool readDevice(const QString &name);
    bool fail(const QString &text);

    QString m_error;
    QString m_help;
};
