#pragma once

#include "ctlcommand.h"

#include <QString>
#include <QStringList>

class QCommandLineParser;

// matrixctl's command line: where the matrix is, how to address it, how to
// answer, and the command. Reading it opens no link and writes no file.
class CtlOptions
{
public:
    enum class Parse { Ok, Help, Version, Error };
    enum class Link { None, Tcp, Serial };

    static constexpr int DefaultNetPort = 6800;
    static constexpr int MaxMatrixId = 65535;

    Parse parse(const QStringList &arguments);
    QString errorText() const;
    // The whole --help text, with examples.
    QString helpText() const;
    // The short form shown after a usage error.
    static QString usage();

    Link link = Link::None;
    // Tcp: host and port; Serial: the port's name and the baud rate.
    QString address;
    QString port;
    QString book = QStringLiteral("ipmanager");
    // -1: the matrix ID the window stored, else 1.
    int matrixId = -1;
    bool json = false;
    bool quiet = false;
    CtlCommand command;

private:
    bool readValues(const QCommandLineParser &parser);
    bool readLink(const QString &tcp, const QString &serial, const QString &baud, const QString &device);
    bool readTcp(const QString &text);
    bool readDevice(const QString &name);
    bool fail(const QString &text);

    QString m_error;
    QString m_help;
};
