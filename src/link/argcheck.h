#pragma once

#include <QString>

// The forms that command-line words must have. Strict on purpose: a script
// that passes "3x" or "1.2.3" has a fault that guessing would hide.
class ArgCheck
{
public:
    // Plain decimal digits only (no sign, no blanks), from min to max.
    static bool number(const QString &text, int min, int max, int *value);
    // Four decimal numbers 0 to 255 joined by dots.
    static bool dottedQuad(const QString &text);
    // A dotted quad, an IPv6 address or a host name.
    static bool host(const QString &text);
    static bool port(const QString &text);
};
