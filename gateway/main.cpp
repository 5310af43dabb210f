#include "devicelink.h"
#include "gatewaylog.h"
#include "gatewayoptions.h"
#include "rawport.h"
#include "videohubserver.h"

#include "config/aliasstore.h"
#include "config/linkparameters.h"
#include "config/routestate.h"
#include "config/settings.h"

#include <QCoreApplication>
#include <QLoggingCategory>

#include <cstdio>

namespace {

constexpr int ExitStartFailed = 1;
constexpr int ExitUsage = 2;

int channels(int given, int stored)
{
    if (given > 0)
        return given;
    return stored >= 1 && stored <= Settings::MaxChannels ? stored : Settings::DefaultChannels;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("matrix-gateway"));
    QCoreApplication::setApplicationVersion(QStringLiteral(MC_VERSION));
    // The link and store developer traces would mix with the log.
    QLoggingCategory::setFilterRules(QStringLiteral("matrix.link.debug=false\nmatrix.store.debug=false"));

    GatewayOptions options;
    switch (options.parse(QCoreApplication::arguments())) {
    case GatewayOptions::Parse::Help:
        std::fputs(qPrintable(options.helpText()), stdout);
        return 0;
    case GatewayOptions::Parse::Version:
        std::fputs("matrix-gateway " MC_VERSION "\n", stdout);
        return 0;
    case GatewayOptions::Parse::Error:
        std::fprintf(stderr, "matrix-gateway: %s\n%s", qPrintable(options.errorText()),
                     qPrintable(GatewayOptions::usage()));
        return ExitUsage;
    case GatewayOptions::Parse::Ok:
        break;
    }

    GatewayLog log(options.json);
    // Only in this run's memory: the window's stored ID stays as it was.
    if (options.matrixId >= 0)
        linkParameters().matrixId = options.matrixId;
    const int matrixId = linkParameters().matrixId;
    const int inputs = channels(options.inputs, getInCount());
    const int outputs = channels(options.outputs, getOutCount());

    RouteState routes(inputs, outputs);
    if (!routes.loadProblem().isEmpty())
        log.error(QStringLiteral("RouteState.json not used: %1; the routing starts unknown").arg(routes.loadProblem()));
    AliasStore aliases;

    DeviceLink::Target target;
    target.serial = options.serial;
    target.host = options.host;
    target.port = options.port;
    target.baud = options.baud;
    DeviceLink link(target, options.gapMs);
    QObject::connect(&link, &DeviceLink::upChanged, &app,
                     [&log, &link](bool up, const QString &detail) { log.link(up, link.where(), detail); });
    QObject::connect(&link, &DeviceLink::sent, &app, [&log, &routes](const QByteArray &bytes, const QString &source) {
        log.sent(bytes, source);
        if (!routes.saveProblem().isEmpty())
            log.error(QStringLiteral("RouteState.json not written: ") + routes.saveProblem());
    });

    // Whether the server listens; says so in the log either way.
    const auto listening = [&log](auto &server, const QString &service, const QHostAddress &address, quint16 port) {
        if (server.listen(address, port)) {
            log.listening(service, server.address(), server.port());
            return true;
        }
        log.error(QStringLiteral("%1: cannot listen on %2 port %3: %4")
                      .arg(service, address.toString())
                      .arg(port)
                      .arg(server.errorString()));
        return false;
    };
    const ClientGate gate(options.allowed);
    VideohubServer videohub(routes, aliases, link, log, gate, options.name);
    if (!listening(videohub, QStringLiteral("videohub"), options.videohubAddress, options.videohubPort))
        return ExitStartFailed;
    RawPort raw(link, log, gate, matrixId, inputs, outputs);
    if (options.raw) {
        if (!listening(raw, QStringLiteral("raw"), options.rawAddress, options.rawPort))
            return ExitStartFailed;
        QObject::connect(&raw, &RawPort::routed, &videohub, &VideohubServer::noteRoutes);
    }

    link.start();
    return QCoreApplication::exec();
}
