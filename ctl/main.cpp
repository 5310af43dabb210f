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
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));

    CtlOptions options;
    switch (options.parse(QCoreApplication::arguments())) {
    case CtlOptions::Parse::Help:
        CtlOutput::write(stdout, options.helpText().toLocal8Bit());
        return ExitDone;
    case CtlOptions::Parse::Version:
        CtlOutput::write(stdout, "matrixctl " MC_VERSION "\n");
        return ExitDone;
    case CtlOptions::Parse::Error:
        CtlOutput::error(options.errorText() + QStringLiteral("; try matrixctl --help"));
        return ExitUsage;
    case CtlOptions::Parse::Ok:
        break;
    }
    CtlRunner runner(options);
    return runner.run();
}
