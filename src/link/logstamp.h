#pragma once

#include <QString>

// The time stamp that the debug console and matrixctl put before each command
// sent: hours, minutes, seconds and milliseconds ("14:05:09:042").
class LogStamp
{
public:
    static QString now();
};
