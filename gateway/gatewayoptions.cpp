#include "gatewayoptions.h"

#include "config/devicestore.h"
#include "config/settings.h"
#include "link/argcheck.h"

#include <QCommandLineParser>
#include <QFileInfo>

namespace {

constexpr int MaxBaud = 4000000;
constexpr int MaxMatrixId = 65535;
constexpr int MaxPort = 65535;

const char Synopsis[] =
    "Usage: matrix-gateway [--tcp HOST[:PORT] | --serial DEVICE [--baud N] | --device NAME [--book FILE]]\n"
    "                      [--id N] [--inputs N] [--outputs N] [--videohub ADDR:PORT] [--raw ADDR:PORT]\n"
    "                      [--allow ADDR[/BITS]]... [--gap MS] [--name TEXT] [--json]\n";

const char Examples[] =
    "\nExamples:\n"
    "  matrix-gateway --tcp 192.168.1.168\n"
    "  matrix-gateway --serial /dev/ttyUSB0 --raw 127.0.0.1:6800\n"
    "  matrix-gateway --device Hall --videohub 0.0.0.0:9990 --allow 10.0.0.0/24\n";

} // namespace

GatewayOptions::Parse GatewayOptions::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Owns the one link to a matrix switcher and serves it to many clients: as a Videohub router,\n"
        "and with --raw as a shared port for the matrix's own commands."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    parser.addOptions({
        { QStringLiteral("tcp"), QStringLiteral("The matrix's network card (port 6800 if none)."),
          QStringLiteral("host[:port]") },
        { QStringLiteral("serial"), QStringLiteral("The matrix's serial port."), QStringLiteral("device") },
        { QStringLiteral("baud"), QStringLiteral("Baud rate of the serial port (9600)."), QStringLiteral("n") },
        { QStringLiteral("device"), QStringLiteral("The address book entry with this alias."), QStringLiteral("name") },
        { QStringLiteral("book"), QStringLiteral("The address book (ipmanager)."), QStringLiteral("file") },
        { QStringLiteral("id"), QStringLiteral("Matrix ID (as stored in UserData.ini, else 1)."), QStringLiteral("n") },
        { QStringLiteral("inputs"), QStringLiteral("Inputs (as stored in AppConfig.ini)."), QStringLiteral("n") },
        { QStringLiteral("outputs"), QStringLiteral("Outputs (as stored in AppConfig.ini)."), QStringLiteral("n") },
        { QStringLiteral("videohub"), QStringLiteral("Videohub server (127.0.0.1:9990)."), QStringLiteral("addr:port") },
        { QStringLiteral("raw"), QStringLiteral("Shared port for the matrix's own commands (off)."),
          QStringLiteral("addr:port") },
        { QStringLiteral("allow"), QStringLiteral("Serve only these client addresses (repeatable; default any)."),
          QStringLiteral("addr[/bits]") },
        { QStringLiteral("gap"), QStringLiteral("Silence between two commands to the matrix (50)."),
          QStringLiteral("ms") },
        { QStringLiteral("name"), QStringLiteral("Friendly name shown to Videohub clients (Matrix)."),
          QStringLiteral("text") },
        { QStringLiteral("json"), QStringLiteral("Log one JSON object per line.") },
    });
    m_help = parser.helpText() + QLatin1String(Examples);
    if (!parser.parse(arguments)) {
        fail(parser.errorText());
        return Parse::Error;
    }
    if (parser.isSet(helpOption))
        return Parse::Help;
    if (parser.isSet(versionOption))
        return Parse::Version;
    if (!parser.positionalArguments().isEmpty()) {
        fail(QStringLiteral("unexpected argument: ") + parser.positionalArguments().constFirst());
        return Parse::Error;
    }
    return readValues(parser) ? Parse::Ok : Parse::Error;
}

QString GatewayOptions::usage()
{
    return QLatin1String(Synopsis) + QStringLiteral("Run matrix-gateway --help for more.\n");
}

bool GatewayOptions::readValues(const QCommandLineParser &parser)
{
    json = parser.isSet(QStringLiteral("json"));
    if (parser.isSet(QStringLiteral("name")))
        name = parser.value(QStringLiteral("name"));
    if (!readNumber(parser, "id", 0, MaxMatrixId, &matrixId)
        || !readNumber(parser, "inputs", 1, Settings::MaxChannels, &inputs)
        || !readNumber(parser, "outputs", 1, Settings::MaxChannels, &outputs)
        || !readNumber(parser, "gap", 0, MaxGapMs, &gapMs))
        return false;
    if (parser.isSet(QStringLiteral("videohub"))
        && !readListen(QStringLiteral("--videohub"), parser.value(QStringLiteral("videohub")), &videohubAddress,
                       &videohubPort))
        return false;
    raw = parser.isSet(QStringLiteral("raw"));
    if (raw && !readListen(QStringLiteral("--raw"), parser.value(QStringLiteral("raw")), &rawAddress, &rawPort))
        return false;
    for (const QString &text : parser.values(QStringLiteral("allow"))) {
        const QString subnet = text.contains(QLatin1Char('/')) ? text : text + (text.contains(QLatin1Char(':'))
                                                                                    ? QStringLiteral("/128")
                                                                                    : QStringLiteral("/32"));
        const ClientGate::Subnet parsed = QHostAddress::parseSubnet(subnet);
        if (parsed.first.isNull())
            return fail(QStringLiteral("--allow \"%1\" is not ADDR[/BITS]").arg(text));
        allowed << parsed;
    }
    return readLink(parser);
}

bool GatewayOptions::readLink(const QCommandLineParser &parser)
{
    const QString tcp = parser.value(QStringLiteral("tcp"));
    const QString serialPort = parser.value(QStringLiteral("serial"));
    const QString device = parser.value(QStringLiteral("device"));
    const QString baudText = parser.value(QStringLiteral("baud"));
    if (int(!tcp.isEmpty()) + int(!serialPort.isEmpty()) + int(!device.isEmpty()) != 1)
        return fail(QStringLiteral("say where the matrix is: one of --tcp, --serial and --device"));
    if (!baudText.isEmpty() && serialPort.isEmpty())
        return fail(QStringLiteral("--baud goes with --serial"));
    if (parser.isSet(QStringLiteral("book")) && device.isEmpty())
        return fail(QStringLiteral("--book goes with --device"));
    if (!serialPort.isEmpty()) {
        int rate = baud;
        if (!baudText.isEmpty() && !ArgCheck::number(baudText, 1, MaxBaud, &rate))
            return fail(QStringLiteral("--baud \"%1\" is not a baud rate").arg(baudText));
        serial = true;
        host = serialPort;
        baud = rate;
        return true;
    }
    if (!device.isEmpty()) {
        const QString book = parser.isSet(QStringLiteral("book")) ? parser.value(QStringLiteral("book"))
                                                                  : QStringLiteral("ipmanager");
        return readDevice(device, book);
    }
    return readHostPort(QStringLiteral("--tcp"), tcp, &host, &port);
}

bool GatewayOptions::readDevice(const QString &alias, const QString &book)
{
    if (!QFileInfo(book).isFile())
        return fail(QStringLiteral("no address book \"%1\"").arg(book));
    const DeviceStore store(book, DeviceStore::Access::ReadOnly);
    for (const DeviceEntry &entry : store.entries()) {
        if (entry.alias == alias)
            return readHostPort(QStringLiteral("device \"%1\"").arg(alias), entry.ip + QLatin1Char(':') + entry.port,
                                &host, &port);
    }
    return fail(QStringLiteral("no device \"%1\" in \"%2\"").arg(alias, book));
}

bool GatewayOptions::readHostPort(const QString &option, const QString &text, QString *hostOut, quint16 *portOut)
{
    QString name = text;
    QString portText;
    const int colon = text.lastIndexOf(QLatin1Char(':'));
    if (text.startsWith(QLatin1Char('['))) {
        const int close = text.indexOf(QLatin1Char(']'));
        if (close < 0 || (close + 1 < text.size() && colon != close + 1))
            return fail(QStringLiteral("%1: \"%2\" is not HOST[:PORT]").arg(option, text));
        name = text.mid(1, close - 1);
        if (colon == close + 1)
            portText = text.mid(colon + 1);
    } else if (colon >= 0 && text.indexOf(QLatin1Char(':')) == colon) {
        name = text.left(colon);
        portText = text.mid(colon + 1);
    }
    if (!ArgCheck::host(name))
        return fail(QStringLiteral("%1: \"%2\" is not a host address").arg(option, name));
    int number = *portOut;
    if (!portText.isNull() && !ArgCheck::number(portText, 1, MaxPort, &number))
        return fail(QStringLiteral("%1: \"%2\" is not a port from 1 to 65535").arg(option, portText));
    *hostOut = name;
    *portOut = static_cast<quint16>(number);
    return true;
}

// An address to listen on: an IP address (or localhost) and a port, 0 for any free one.
bool GatewayOptions::readListen(const QString &option, const QString &text, QHostAddress *address, quint16 *portOut)
{
    const int colon = text.lastIndexOf(QLatin1Char(':'));
    QString name = colon < 0 ? text : text.left(colon);
    if (name.startsWith(QLatin1Char('[')) && name.endsWith(QLatin1Char(']')))
        name = name.mid(1, name.size() - 2);
    if (name == QLatin1String("localhost"))
        name = QStringLiteral("127.0.0.1");
    QHostAddress parsed;
    int number = 0;
    if (colon < 0 || !parsed.setAddress(name) || !ArgCheck::number(text.mid(colon + 1), 0, MaxPort, &number))
        return fail(QStringLiteral("%1 \"%2\" is not ADDR:PORT").arg(option, text));
    *address = parsed;
    *portOut = static_cast<quint16>(number);
    return true;
}

bool GatewayOptions::readNumber(const QCommandLineParser &parser, const char *option, int min, int max, int *value)
{
    const QString name = QLatin1String(option);
    if (!parser.isSet(name) || ArgCheck::number(parser.value(name), min, max, value))
        return true;
    return fail(QStringLiteral("--%1 \"%2\" is not a number from %3 to %4").arg(name, parser.value(name)).arg(min).arg(max));
}

bool GatewayOptions::fail(const QString &text)
{
    m_error = text;
    return false;
}
