#include "fuzzharness.h"

#include "config/linkparameters.h"
#include "config/settings.h"

void fuzzInput(const QByteArray &input)
{
    // A line "%%" splits the input into the two files; without one both get all of it.
    const int split = input.indexOf("\n%%\n");
    const QByteArray app = split < 0 ? input : input.left(split);
    const QByteArray user = split < 0 ? input : input.mid(split + 4);
    const auto dir = fuzzDir({ { "AppConfig.ini", app }, { "UserData.ini", user } }, IniText::Utf8);
    const auto readAllButPollSleep = [] {
        return QVariantList { getLangType(), getType(), getMatrix(), getInCount(), getOutCount(), getMatrixId(),
                              getAudio(), getConnectType(), getPollInBegin(), getPollInEnd(), getPollOutStart(),
                              getPollOutEnd(), getTimingStart(), getTimingEnd(), getTimingOut(), getTimingSleep(),
                              getPort(), getBaud(), getIPAdd(), getNetPort() };
    };

    const LinkParameters p = readLinkParameters();
    FUZZ_CHECK(!p.port.isEmpty() && !p.baud.isEmpty() && !p.ipAddress.isEmpty() && !p.netPort.isEmpty());
    FUZZ_CHECK(p.matrixId != -1);
    const QVariantList before = readAllButPollSleep();
    for (int count : { getInCount(), getOutCount() })
        FUZZ_CHECK(count != 0 && count <= Settings::MaxChannels, QString::number(count));
    FUZZ_CHECK(readFile(QStringLiteral("AppConfig.ini")) == app && readFile(QStringLiteral("UserData.ini")) == user);
    // A setter rewrites the whole file: every other key must read as before.
    const int sleep = getPollSleep() == 250 ? 750 : 250;
    setPollSleep(sleep);
    FUZZ_CHECK(getPollSleep() == sleep && readAllButPollSleep() == before);
}
