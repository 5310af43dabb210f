#pragma once

#include <QString>

class BenchTable;

// Start-up of the program against an empty window of the same size: both are
// started as fresh processes of the same binary, with the same application
// set-up as main() (resource file, style sheet, font), each in a fresh working
// directory, and timed from process start until the window is shown and painted.
class StartupBench
{
public:
    explicit StartupBench(int runs);
    void run(BenchTable &table);

    // The child side: "main" shows MainWindow, "empty" an empty QMainWindow.
    // Prints "shown <construct+show ns> <resident bytes>" and exits.
    static int runChild(int argc, char **argv, const QString &kind);

private:
    struct Sample
    {
        double processMs = 0;
        double windowMs = 0;
        double residentMB = 0;
    };
    Sample startOnce(const QString &kind);

    int m_runs;
};
