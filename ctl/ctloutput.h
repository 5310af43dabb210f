#pragma once

#include "config/deviceentry.h"

#include <QByteArray>
#include <QString>

#include <cstdio>

class QJsonObject;

// What matrixctl prints: the commands sent as the debug console logs them and
// the answers, as plain lines or one JSON object per line; quiet keeps only
// the answers. Every line is flushed at once, as EDID writes come a second
// apart and a script may be reading along.
class CtlOutput
{
public:
    CtlOutput(bool json, bool quiet);

    // The bytes of one command as they went to the wire.
    void sent(const QByteArray &bytes) const;
    void netSettings(const DeviceEntry &entry) const;
    void device(const DeviceEntry &entry) const;

    static void error(const QString &text);
    static void write(std::FILE *stream, const QByteArray &bytes);

private:
    void print(const QJsonObject &object, const QString &plain) const;

    bool m_json;
    bool m_quiet;
};
