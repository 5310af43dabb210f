#include "ctloptions.h"
#include "ctloutput.h"
#include "ctlrunner.h"
#include "exitstatus.h"

#include <QCoreApplication>
#include <QLoggingCategory>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("matrixctl"));
    QCoreApplication::setApplicationVersion(QStringLiteral(MC_VERSION));
    // The link code's developer traces would mix with what scripts read.
    QLoggingCategory::setFilterRules(QStringLiteral("matrix.link.debug=false\nmatrix.store.debug=false"));

    CtlOptions options;
    switch (options.parse(QCoreApplication::arguments())) {
    case CtlOptions::Parse::Help:
        CtlOutput::write(stdout, options.helpText().toLocal8Bit());
        return ExitDone;
    case CtlOptions::Parse::Version:
        CtlOutput::write(stdout, "matrixctl " MC_VERSION "\n");
        return ExitDone;
    case CtlOptions::Parse::Error: {
        // One line, as cron mails whatever a job prints.
        QString reason = options.errorText();
        if (reason.endsWith(QLatin1Char('.')))
            reason.chop(1);
        CtlOutput::error(reason + QStringLiteral("; try matrixctl --help"));
        return ExitUsage;
    }
    case CtlOptions::Parse::Ok:
        break;
    }
    CtlRunner runner(options);
    return runner.run();
}
