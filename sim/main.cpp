#include "eventlog.h"
#include "matrixdevice.h"
#include "ptytransport.h"
#include "simoptions.h"
#include "simulator.h"
#include "tcptransport.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cstdio>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <unistd.h>
#endif

namespace {

constexpr int ExitUsage = 2;
constexpr int ExitStartFailed = 1;

// Quits once standard input reaches its end; whatever comes in is thrown away.
void quitWhenStdinCloses(QCoreApplication &app)
{
#ifdef Q_OS_UNIX
    auto *notifier = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [notifier] {
        char buffer[256];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN)) {
            notifier->setEnabled(false);
            QCoreApplication::quit();
        }
    });
#else
    Q_UNUSED(app)
#endif
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("matrix-sim"));

    SimOptions options;
    switch (options.parse(QCoreApplication::arguments())) {
    case SimOptions::Parse::Help:
        std::fputs(qPrintable(SimOptions::usage()), stdout);
        return 0;
    case SimOptions::Parse::Error:
        std::fprintf(stderr, "matrix-sim: %s\n%s", qPrintable(options.errorText()), qPrintable(SimOptions::usage()));
        return ExitUsage;
    case SimOptions::Parse::Ok:
        break;
    }

    EventLog log(options.json);
    MatrixDevice device(options.id, options.inputs, options.outputs);
    Simulator simulator(device, log, options.replyDelayMs, options.pauseMs);

    TcpTransport tcp(simulator, log);
    if (!tcp.listen(options.address, options.port)) {
        log.error(QStringLiteral("cannot listen on %1 port %2: %3")
                      .arg(options.address.toString())
                      .arg(options.port)
                      .arg(tcp.errorString()));
        return ExitStartFailed;
    }
    log.listening(tcp.address(), tcp.port());

    // The card reports where this simulator really is, so that reading the
    // settings (Get) keeps an address book entry pointing here.
    NetworkCard card = device.network();
    card.ip = tcp.address().toString();
    card.port = tcp.port();
    card.subnet = QStringLiteral("255.255.255.0");
    card.gateway = card.ip;
    device.setNetwork(card);

    PtyTransport pty(simulator);
    if (options.pty) {
        if (!pty.open()) {
            log.error(pty.errorString());
            return ExitStartFailed;
        }
        log.pty(pty.slavePath());
    }

    if (options.watchStdin)
        quitWhenStdinCloses(app);
    log.ready(device);
    return QCoreApplication::exec();
}
