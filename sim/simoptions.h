#pragma once

#include <QHostAddress>
#include <QString>
#include <QStringList>

// The command line of matrix-sim. Pure, so that tests can check the rules.
class SimOptions
{
public:
    enum class Parse { Ok, Help, Error };

    static constexpr quint16 DefaultPort = 6800;
    static constexpr int MaxReplyDelayMs = 60000;
    // A command without terminator is complete after this much silence.
    static constexpr int DefaultPauseMs = 50;
    static constexpr int MaxPauseMs = 60000;

    // arguments[0] is the program name, as in QCoreApplication::arguments().
    Parse parse(const QStringList &arguments);
    QString errorText() const;
    static QString usage();

    // Loopback unless the command line names another address.
    QHostAddress address { QHostAddress::LocalHost };
    quint16 port = DefaultPort;
    bool pty = false;
    int inputs = 16;
    int outputs = 16;
    int id = 1;
    int replyDelayMs = 0;
    int pauseMs = DefaultPauseMs;
    bool json = false;
    // Exit when standard input closes: a test runner that dies takes us along.
    bool watchStdin = false;

private:
    bool parseListen(const QString &text);
    bool parseNumber(const QString &name, const QString &text, int minimum, int maximum, int *value);

    QString m_error;
};
