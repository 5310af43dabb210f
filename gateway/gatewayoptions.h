#pragma once

#include "clientgate.h"

#include <QHostAddress>
#include <QString>
#include <QStringList>

class QCommandLineParser;

// matrix-gateway's command line. Reading it opens nothing and writes no file.
class GatewayOptions
{
public:
    enum class Parse { Ok, Help, Version, Error };

    static constexpr quint16 DefaultNetPort = 6800;
    static constexpr quint16 DefaultVideohubPort = 9990;
    static constexpr int DefaultGapMs = 50;
    static constexpr int MaxGapMs = 10000;

    Parse parse(const QStringList &arguments);
    QString errorText() const { return m_error; }
    QString helpText() const { return m_help; }
    static QString usage();

    bool serial = false;
    // TCP: the matrix's host; serial: the port's name.
    QString host;
    quint16 port = DefaultNetPort;
    qint32 baud = 9600;
    // -1: as stored by the window.
    int matrixId = -1;
    int inputs = -1;
    int outputs = -1;
    QHostAddress videohubAddress { QHostAddress::LocalHost };
    quint16 videohubPort = DefaultVideohubPort;
    bool raw = false;
    QHostAddress rawAddress { QHostAddress::LocalHost };
    quint16 rawPort = 0;
    QList<ClientGate::Subnet> allowed;
    int gapMs = DefaultGapMs;
    QString name = QStringLiteral("Matrix");
    bool json = false;

private:
    bool readValues(const QCommandLineParser &parser);
    bool readLink(const QCommandLineParser &parser);
    bool readDevice(const QString &name, const QString &book);
    // HOST[:PORT], [IPv6][:PORT]; a missing port stays as it is.
    bool readHostPort(const QString &option, const QString &text, QString *host, quint16 *port);
    bool readListen(const QString &option, const QString &text, QHostAddress *address, quint16 *port);
    bool readNumber(const QCommandLineParser &parser, const char *option, int min, int max, int *value);
    bool fail(const QString &text);

    QString m_error;
    QString m_help;
};
