#include "config/linkparameters.h"

#include "config/settings.h"

namespace {

QString orDefault(const QString &value, const char *fallback)
{
    return value.isEmpty() ? QString::fromLatin1(fallback) : value;
}

} // namespace

LinkParameters readLinkParameters()
{
    LinkParameters p;
    p.port = orDefault(getPort(), "COM1");
    p.baud = orDefault(getBaud(), "9600");
    p.langType = getLangType();
    const int id = getMatrixId();
    p.matrixId = id == -1 ? 1 : id;
    p.ipAddress = orDefault(getIPAdd(), "192.168.1.168");
    p.netPort = orDefault(getNetPort(), "6800");
    p.connectType = getConnectType();
    p.audio = getAudio();
    p.type = getType();
    return p;
}

LinkParameters &linkParameters()
{
    static LinkParameters parameters = readLinkParameters();
    return parameters;
}

void storeLangType(int code)
{
    linkParameters().langType = code;
    setLangType(code);
}

void storeMatrixId(int id)
{
    linkParameters().matrixId = id;
    setMatrixId(id);
}

void storeAudio(int type)
{
    linkParameters().audio = type;
    setAudio(type);
}

void storePort(const QString &port)
{
    linkParameters().port = port;
    setPort(port);
}

void storeBaud(const QString &baud)
{
    linkParameters().baud = baud;
    setBaud(baud);
}
