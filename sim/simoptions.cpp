#include "simoptions.h"

#include "matrixdevice.h"

#include <QCommandLineParser>

namespace {

constexpr int MaxMatrixId = 65535;
constexpr int MaxPort = 65535;

} // namespace

SimOptions::Parse SimOptions::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption listen(QStringLiteral("listen"), QString(), QStringLiteral("address:port"));
    const QCommandLineOption ptyOption(QStringLiteral("pty"));
    const QCommandLineOption inputsOption(QStringLiteral("inputs"), QString(), QStringLiteral("n"));
    const QCommandLineOption outputsOption(QStringLiteral("outputs"), QString(), QStringLiteral("n"));
    const QCommandLineOption idOption(QStringLiteral("id"), QString(), QStringLiteral("n"));
    const QCommandLineOption delayOption(QStringLiteral("reply-delay"), QString(), QStringLiteral("ms"));
    const QCommandLineOption pauseOption(QStringLiteral("pause"), QString(), QStringLiteral("ms"));
    const QCommandLineOption jsonOption(QStringLiteral("json"));
    const QCommandLineOption watchOption(QStringLiteral("watch-stdin"));
    const QCommandLineOption helpOption(QStringList { QStringLiteral("h"), QStringLiteral("help") });
    parser.addOptions({ listen, ptyOption, inputsOption, outputsOption, idOption, delayOption, pauseOption, jsonOption, watchOption,
                        helpOption });

    if (!parser.parse(arguments)) {
        m_error = parser.errorText();
        return Parse::Error;
    }
    if (parser.isSet(helpOption))
        return Parse::Help;
    if (!parser.positionalArguments().isEmpty()) {
        m_error = QStringLiteral("unexpected argument: ") + parser.positionalArguments().constFirst();
        return Parse::Error;
    }
    pty = parser.isSet(ptyOption);
    json = parser.isSet(jsonOption);
    watchStdin = parser.isSet(watchOption);
    if (parser.isSet(listen) && !parseListen(parser.value(listen)))
        return Parse::Error;
    const bool numbersOk =
        (!parser.isSet(inputsOption)
         || parseNumber(QStringLiteral("--inputs"), parser.value(inputsOption), 1, MatrixDevice::MaxChannels, &inputs))
        && (!parser.isSet(outputsOption)
            || parseNumber(QStringLiteral("--outputs"), parser.value(outputsOption), 1, MatrixDevice::MaxChannels,
                           &outputs))
        && (!parser.isSet(idOption) || parseNumber(QStringLiteral("--id"), parser.value(idOption), 0, MaxMatrixId, &id))
        && (!parser.isSet(delayOption)
            || parseNumber(QStringLiteral("--reply-delay"), parser.value(delayOption), 0, MaxReplyDelayMs,
                           &replyDelayMs))
        && (!parser.isSet(pauseOption)
            || parseNumber(QStringLiteral("--pause"), parser.value(pauseOption), 1, MaxPauseMs, &pauseMs));
    return numbersOk ? Parse::Ok : Parse::Error;
}

QString SimOptions::errorText() const
{
    return m_error;
}

QString SimOptions::usage()
{
    return QStringLiteral(
        "Usage: matrix-sim [--listen 127.0.0.1:6800] [--pty] [--inputs 16] [--outputs 16] [--id 1]\n"
        "                  [--reply-delay MS] [--pause MS] [--json]\n"
        "A stand-in matrix switcher. It accepts the matrix's commands over TCP and,\n"
        "with --pty, over a pseudo-terminal, and prints one line per command.\n"
        "  --listen ADDR:PORT  where to accept TCP clients (default 127.0.0.1:6800;\n"
        "                      port 0 takes any free port; a bare PORT means 127.0.0.1)\n"
        "  --pty               also open a pseudo-terminal and print its path, to be\n"
        "                      opened as the matrix's serial port\n"
        "  --inputs N, --outputs N   channel counts (1 to 256, default 16)\n"
        "  --id N              matrix ID this device answers to (default 1)\n"
        "  --reply-delay MS    wait this long before answering HWC (default 0)\n"
        "  --pause MS          silence that ends a command without terminator\n"
        "                      (SAVE, CALL, BUZON, BUZOFF, HWS; default 50)\n"
        "  --json              print JSON lines instead of text\n"
        "  --watch-stdin       exit when standard input closes (for test runners)\n");
}

bool SimOptions::parseListen(const QString &text)
{
    QString host = QStringLiteral("127.0.0.1");
    QString portText = text;
    const int colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon >= 0) {
        host = text.left(colon);
        portText = text.mid(colon + 1);
        if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
            host = host.mid(1, host.size() - 2);
    }
    if (host == QLatin1String("localhost"))
        host = QStringLiteral("127.0.0.1");
    QHostAddress parsed;
    if (!parsed.setAddress(host)) {
        m_error = QStringLiteral("--listen: \"%1\" is not an IP address").arg(host);
        return false;
    }
    int number = 0;
    if (!parseNumber(QStringLiteral("--listen port"), portText, 0, MaxPort, &number))
        return false;
    address = parsed;
    port = static_cast<quint16>(number);
    return true;
}

bool SimOptions::parseNumber(const QString &name, const QString &text, int minimum, int maximum, int *value)
{
    bool ok = false;
    const int number = text.toInt(&ok);
    if (!ok || number < minimum || number > maximum) {
        m_error = QStringLiteral("%1: \"%2\" is not a number from %3 to %4").arg(name, text).arg(minimum).arg(maximum);
        return false;
    }
    *value = number;
    return true;
}
