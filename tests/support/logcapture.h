#pragma once

#include <QStringList>

// Collects the program's debug lines while it lives, and passes them on to the
// handler that was installed before, so that they still show in the test log.
class LogCapture
{
public:
    LogCapture();
    ~LogCapture();

    QStringList lines() const;

private:
    Q_DISABLE_COPY(LogCapture)
};
