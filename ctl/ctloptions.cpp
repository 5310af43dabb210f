#include "ctloptions.h"

#include "link/argcheck.h"

#include "config/devicestore.h"

#include <QCommandLineParser>
#include <QFileInfo>

namespace {

constexpr int MaxBaud = 4000000;
const QString DefaultBaud = QStringLiteral("9600");

const char Synopsis[] =
    "Usage: matrixctl [--tcp HOST[:PORT] | --serial DEVICE [--baud N] | --device NAME]\n"
    "                 [--id N] [--json] [--quiet] COMMAND [ARGS]\n";

const char Commands[] =
    "Commands:\n"
    "  switch IN OUT[,OUT...]   route one input to outputs\n"
    "  all IN                   route one input to every output\n"
    "  onebyone                 route input n to output n\n"
    "  scene save|call N        store or recall scene N (1 to 16)\n"
    "  buzzer on|off            switch the buzzer\n"
    "  edid IN[,IN...] OUT      EDID write between the output and each input,\n"
    "                           one second apart\n"
    "  net get                  print the network card's settings\n"
    "  net set IP MASK GATEWAY  change them\n"
    "  net reset                reset the network card\n"
    "  raw TEXT                 send a text as typed into the debug console\n"
    "  raw --hex \"31 44 ...\"    send bytes given in hex\n"
    "  devices                  list the address book (alias, ip, port)\n"
    "Channels run from 1 to 64.\n";

const char Examples[] =
    "\nExamples:\n"
    "  matrixctl --tcp 192.168.1.168 switch 3 2,5\n"
    "  matrixctl --device Hall scene call 4\n"
    "  matrixctl --serial /dev/ttyUSB0 --baud 115200 --id 2 all 1\n"
    "  matrixctl --tcp 192.168.1.168:6800 --json net get\n"
    "\n"
    "Exit status: 0 done; 1 the link could not be opened; 2 usage error, nothing\n"
    "sent; 3 no or no valid answer to net get.\n";

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
          QStringLiteral("Matrix ID (as stored in UserData.ini, else 1; 0 addresses every matrix)."),
          QStringLiteral("n") },
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
    json = parser.isSet(QStringLiteral("json"));
    quiet = parser.isSet(QStringLiteral("quiet"));
    if (parser.isSet(QStringLiteral("book")))
        book = value("book");
    if (parser.isSet(QStringLiteral("id")) && !ArgCheck::number(value("id"), 0, MaxMatrixId, &matrixId))
        return fail(QStringLiteral("--id \"%1\" is not a matrix ID from 0 to %2").arg(value("id")).arg(MaxMatrixId));
    if (!command.parse(parser.positionalArguments(), parser.isSet(QStringLiteral("hex"))))
        return fail(command.errorText());
    if (!command.needsLink() && !QFileInfo(book).isFile())
        return fail(QStringLiteral("no address book \"%1\"").arg(book));
    return readLink(value("tcp"), value("serial"), value("baud"), value("device"));
}

QString CtlOptions::errorText() const
{
    return m_error;
}

QString CtlOptions::helpText() const
{
    return m_help;
}

QString CtlOptions::usage()
{
    return QLatin1String(Synopsis) + QLatin1String(Commands) + QStringLiteral("Run matrixctl --help for more.\n");
}

bool CtlOptions::readLink(const QString &tcp, const QString &serial, const QString &baud, const QString &device)
{
    const int given = int(!tcp.isEmpty()) + int(!serial.isEmpty()) + int(!device.isEmpty());
    if (given > 1)
        return fail(QStringLiteral("give one of --tcp, --serial and --device"));
    if (!baud.isEmpty() && serial.isEmpty())
        return fail(QStringLiteral("--baud goes with --serial"));
    if (given == 0)
        return !command.needsLink() || fail(QStringLiteral("say where the matrix is: --tcp, --serial or --device"));
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
    QString portText = QString::number(DefaultNetPort);
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
    if (!QFileInfo(book).isFile())
        return fail(QStringLiteral("no address book \"%1\"").arg(book));
    const DeviceStore store(book, DeviceStore::Access::ReadOnly);
    const QList<DeviceEntry> entries = store.entries();
    for (const DeviceEntry &entry : entries) {
        if (entry.alias != name)
            continue;
        if (!ArgCheck::host(entry.ip) || !ArgCheck::port(entry.port))
            return fail(QStringLiteral("device \"%1\" has no usable address: \"%2\" port \"%3\"")
                            .arg(name, entry.ip, entry.port));
        link = Link::Tcp;
        address = entry.ip;
        port = entry.port;
        return true;
    }
    return fail(QStringLiteral("no device \"%1\" in \"%2\"").arg(name, book));
}

bool CtlOptions::fail(const QString &text)
{
    m_error = text;
    return false;
}
