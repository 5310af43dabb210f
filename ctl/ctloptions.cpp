#include "ctloptions.h"

#include "ctlbook.h"
#include "ctlnames.h"

#include "config/initext.h"
#include "config/settings.h"
#include "link/argcheck.h"
#include "link/matrixid.h"
#include "link/netcardrules.h"

#include <QCommandLineParser>
#include <QFile>
#include <QProcess>

namespace {

constexpr int MaxBaud = 4000000;
constexpr int MaxTimeoutMs = 600000;
constexpr int MaxWaitSeconds = 3600;
const QString DefaultBaud = QStringLiteral("9600");

const char Commands[] =
    "Commands:\n"
    "  switch IN OUT[,OUT...]   route one input to outputs\n"
    "  all IN                   route one input to every output\n"
    "  onebyone                 route input n to output n\n"
    "  scene save|call N        store or recall scene N (1 to 16, or its name)\n"
    "  buzzer on|off            switch the buzzer\n"
    "  edid IN[,IN...] OUT      EDID write between the output and each input,\n"
    "                           one second apart\n"
    "  net get                  print the network card's settings\n"
    "  net set IP MASK GATEWAY  change them\n"
    "  net reset                reset the network card\n"
    "  raw TEXT                 send exactly the bytes of TEXT\n"
    "  raw --hex \"31 44 ...\"    send exactly the bytes given in hex\n"
    "  devices                  list the address book (alias, ip, port)\n"
    "  -                        read commands from standard input, one a line\n"
    "Channels run from 1 to the matrix's counts in AppConfig.ini (16 if none);\n"
    "a channel or scene may also be given by its name.\n";

const char Examples[] =
    "\nExamples:\n"
    "  matrixctl --tcp 192.168.1.168 switch 3 2,5\n"
    "  matrixctl --device Hall scene call 4\n"
    "  matrixctl --serial /dev/ttyUSB0 --baud 115200 --id 2 all 1\n"
    "  matrixctl --tcp 192.168.1.168:6800 --json net get\n"
    "  printf 'scene call 2\\nbuzzer off\\n' | matrixctl --device Hall -\n"
    "\n"
    "Exit status: 0 done; 1 the link could not be opened; 2 usage error, nothing\n"
    "sent; 3 no or no valid answer to net get; 4 the link failed before every\n"
    "command was sent (standard error names the first one not sent).\n";

} // namespace

CtlOptions::Parse CtlOptions::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Drives a matrix switcher from scripts, with the window's own commands and link."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    parser.addOptions({
        { QStringLiteral("tcp"), QStringLiteral("Connect to the matrix's network card (port 6800 if none)."),
          QStringLiteral("host[:port]") },
        { QStringLiteral("serial"), QStringLiteral("Open this serial port."), QStringLiteral("device") },
        { QStringLiteral("baud"), QStringLiteral("Baud rate of the serial port (9600)."), QStringLiteral("n") },
        { QStringLiteral("device"), QStringLiteral("Connect to the address book entry with this alias."),
          QStringLiteral("name") },
        { QStringLiteral("book"), QStringLiteral("The address book to read (ipmanager in the working directory)."),
          QStringLiteral("file") },
        { QStringLiteral("id"),
          QStringLiteral("Matrix ID 0 to 999 (as stored in UserData.ini, else 1; 0 addresses every matrix)."),
          QStringLiteral("n") },
        { QStringLiteral("inputs"), QStringLiteral("The matrix's inputs (as in AppConfig.ini, else 16)."),
          QStringLiteral("n") },
        { QStringLiteral("outputs"), QStringLiteral("The matrix's outputs (as in AppConfig.ini, else 16)."),
          QStringLiteral("n") },
        { QStringLiteral("timeout"), QStringLiteral("How long net get waits for the answer (TCP 30000, serial 100)."),
          QStringLiteral("ms") },
        { QStringLiteral("wait"), QStringLiteral("Wait this long for a serial port that another program holds."),
          QStringLiteral("seconds") },
        { QStringLiteral("json"), QStringLiteral("Print one JSON object per line.") },
        { QStringLiteral("quiet"), QStringLiteral("Print only answers.") },
        { QStringLiteral("hex"), QStringLiteral("raw: the text is hex bytes.") },
    });
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("What to send (below)."),
                                 QStringLiteral("COMMAND [ARGS]"));
    m_help = parser.helpText() + QLatin1Char('\n') + QLatin1String(Commands) + QLatin1String(Examples);

    if (!parser.parse(arguments)) {
        m_error = parser.errorText();
        return Parse::Error;
    }
    if (parser.isSet(helpOption) || parser.isSet(QStringLiteral("help-all")))
        return Parse::Help;
    if (parser.isSet(versionOption))
        return Parse::Version;
    return readValues(parser) ? Parse::Ok : Parse::Error;
}

bool CtlOptions::readValues(const QCommandLineParser &parser)
{
    const auto value = [&parser](const char *name) { return parser.value(QLatin1String(name)); };
    int inputs = 0;
    int outputs = 0;
    // Each number option: its name, its range and where it goes.
    const struct {
        const char *name;
        int min;
        int max;
        int *target;
    } numbers[] = { { "timeout", 1, MaxTimeoutMs, &timeoutMs }, { "wait", 0, MaxWaitSeconds, &waitSeconds },
                    { "inputs", 1, Settings::MaxChannels, &inputs }, { "outputs", 1, Settings::MaxChannels, &outputs } };
    for (const auto &number : numbers) {
        if (parser.isSet(QLatin1String(number.name))
            && !ArgCheck::number(value(number.name), number.min, number.max, number.target))
            return fail(QStringLiteral("--%1 \"%2\" is not a number from %3 to %4")
                            .arg(QLatin1String(number.name), value(number.name)).arg(number.min).arg(number.max));
    }
    json = parser.isSet(QStringLiteral("json"));
    quiet = parser.isSet(QStringLiteral("quiet"));
    if (parser.isSet(QStringLiteral("book")))
        book = value("book");
    if (parser.isSet(QStringLiteral("wait")) && !parser.isSet(QStringLiteral("serial")))
        return fail(QStringLiteral("--wait goes with --serial"));
    CtlNames names(inputs, outputs);
    return readCommands(parser.positionalArguments(), parser.isSet(QStringLiteral("hex")), names)
        && readMatrixId(parser) && readLink(value("tcp"), value("serial"), value("baud"), value("device"));
}

// A batch is checked whole before anything is sent, as a single command is.
bool CtlOptions::readCommands(const QStringList &words, bool hex, CtlNames &names)
{
    if (words != QStringList { QStringLiteral("-") }) {
        commands = { CtlCommand() };
        return commands.first().parse(words, hex, names) || fail(commands.first().errorText());
    }
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read standard input: %1").arg(input.errorString()));
    const QStringList lines = QString::fromLocal8Bit(input.readAll()).split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        QStringList lineWords = QProcess::splitCommand(line);
        const bool lineHex = lineWords.removeAll(QStringLiteral("--hex")) > 0;
        CtlCommand command;
        command.line = i + 1;
        if (!command.parse(lineWords, hex || lineHex, names))
            return fail(QStringLiteral("line %1: %2").arg(i + 1).arg(command.errorText()));
        commands.append(command);
    }
    return !commands.isEmpty() || fail(QStringLiteral("no command on standard input"));
}

// The ID the window stored is used only when it is one: sending with a guess
// could reach every matrix at once.
bool CtlOptions::readMatrixId(const QCommandLineParser &parser)
{
    const QString given = parser.value(QStringLiteral("id"));
    if (parser.isSet(QStringLiteral("id")))
        return MatrixId::read(given, &matrixId)
            || fail(QStringLiteral("--id \"%1\" is not a matrix ID from 0 to %2").arg(given).arg(MatrixId::Max));
    if (!needsLink())
        return true;
    const QVariant stored = openIni(QStringLiteral("UserData.ini"), IniText::Utf8)->value(QStringLiteral("id"));
    const QString text = stored.toString().trimmed();
    if (!stored.isValid() || text == QLatin1String("-1"))
        return true;
    return MatrixId::read(text, &matrixId)
        || fail(QStringLiteral("UserData.ini holds the matrix ID \"%1\", which is not one from 0 to %2; give --id")
                    .arg(stored.userType() == QMetaType::QStringList ? stored.toStringList().join(QLatin1Char(','))
                                                                       : text)
                    .arg(MatrixId::Max));
}

bool CtlOptions::needsLink() const
{
    for (const CtlCommand &command : commands) {
        if (command.needsLink())
            return true;
    }
    return false;
}

QString CtlOptions::errorText() const
{
    return m_error;
}

QString CtlOptions::helpText() const
{
    return m_help;
}

bool CtlOptions::readLink(const QString &tcp, const QString &serial, const QString &baud, const QString &device)
{
    const int given = int(!tcp.isEmpty()) + int(!serial.isEmpty()) + int(!device.isEmpty());
    if (given > 1)
        return fail(QStringLiteral("give one of --tcp, --serial and --device"));
    if (!baud.isEmpty() && serial.isEmpty())
        return fail(QStringLiteral("--baud goes with --serial"));
    if (given == 0)
        return !needsLink() || fail(QStringLiteral("say where the matrix is: --tcp, --serial or --device"));
    if (!serial.isEmpty()) {
        int rate = 0;
        if (!baud.isEmpty() && !ArgCheck::number(baud, 1, MaxBaud, &rate))
            return fail(QStringLiteral("--baud \"%1\" is not a baud rate").arg(baud));
        link = Link::Serial;
        address = serial;
        port = baud.isEmpty() ? DefaultBaud : baud;
        return true;
    }
    return tcp.isEmpty() ? readDevice(device) : readTcp(tcp);
}

// HOST, HOST:PORT, or an IPv6 address in brackets with or without :PORT.
bool CtlOptions::readTcp(const QString &text)
{
    QString host = text;
    QString portText = QString::number(NetCardRules::FactoryPort);
    const int colon = text.lastIndexOf(QLatin1Char(':'));
    if (text.startsWith(QLatin1Char('['))) {
        const int close = text.indexOf(QLatin1Char(']'));
        host = text.mid(1, close - 1);
        if (close < 0 || (close + 1 < text.size() && colon != close + 1))
            return fail(QStringLiteral("--tcp \"%1\" is not HOST[:PORT]").arg(text));
        if (colon == close + 1)
            portText = text.mid(colon + 1);
    } else if (colon >= 0 && text.indexOf(QLatin1Char(':')) == colon) {
        host = text.left(colon);
        portText = text.mid(colon + 1);
    }
    if (!ArgCheck::host(host))
        return fail(QStringLiteral("--tcp: \"%1\" is not a host address").arg(host));
    if (!ArgCheck::port(portText))
        return fail(QStringLiteral("--tcp: \"%1\" is not a port from 1 to 65535").arg(portText));
    link = Link::Tcp;
    address = host;
    port = portText;
    return true;
}

bool CtlOptions::readDevice(const QString &name)
{
    CtlBook store;
    DeviceEntry entry;
    if (!store.read(book) || !store.find(name, &entry))
        return fail(store.errorText());
    if (!ArgCheck::host(entry.ip) || !ArgCheck::port(entry.port))
        return fail(QStringLiteral("device \"%1\" has no usable address: \"%2\" port \"%3\"")
                        .arg(name, entry.ip, entry.port));
    link = Link::Tcp;
    address = entry.ip;
    port = entry.port;
    return true;
}

bool CtlOptions::fail(const QString &text)
{
    m_error = text;
    return false;
}
