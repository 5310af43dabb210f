// Arbitrary AppConfig.ini / UserData.ini contents through every settings getter
// and the link parameters, then one setter: nothing crashes, the read rules hold,
// reading never touches the files and a setter keeps the other keys.
#include "fuzzworkdir.h"

#include "config/linkparameters.h"
#include "config/settings.h"

#include <QByteArray>
#include <QSettings>
#include <QVariant>
#include <QVector>

#include <cstddef>
#include <cstdint>

namespace {

const QString AppConfig = QStringLiteral("AppConfig.ini");
const QString UserData = QStringLiteral("UserData.ini");
// Splits one input into the two files; without it both files get the whole input.
constexpr char FileSeparator[] = "\n%%\n";

struct Snapshot
{
    QVector<int> numbers;
    QStringList texts;
    bool operator==(const Snapshot &other) const { return numbers == other.numbers && texts == other.texts; }
};

// Every key but PollSleep, the one the setter below changes.
Snapshot readAllButPollSleep()
{
    Snapshot s;
    s.numbers = { getLangType(), getType(), getMatrix(), getInCount(), getOutCount(),
                  getMatrixId(), getAudio(), getConnectType(), getPollInBegin(), getPollInEnd(),
                  getPollOutStart(), getPollOutEnd(), getTimingStart(), getTimingEnd(),
                  getTimingOut(), getTimingSleep() };
    s.texts = QStringList { getPort(), getBaud(), getIPAdd(), getNetPort() };
    return s;
}

// Tells the fuzzer what each key of the file read as (type, and whether it
// converts to a number), and the parser's status.
void reportOutcome(const QString &file, unsigned fileId)
{
    QSettings settings(file, QSettings::IniFormat);
    const QStringList keys = settings.allKeys();
    fuzzFeature(fileId * 1000 + static_cast<unsigned>(settings.status()));
    fuzzFeature(fileId * 1000 + 10 + static_cast<unsigned>(qMin(keys.size(), 40)));
    for (const QString &key : keys) {
        const QVariant value = settings.value(key);
        bool isNumber = false;
        value.toInt(&isNumber);
        fuzzFeature(fileId * 1000 + 100 + qHash(key) % 64 * 16 + static_cast<unsigned>(value.userType() % 8) * 2
                    + (isNumber ? 1 : 0));
    }
}

void checkChannelCount(int count, const char *key)
{
    FUZZ_CHECK(count != 0 && count <= Settings::MaxChannels, QString::fromLatin1(key) + QString::number(count));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    initFuzzing(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), static_cast<int>(size));
    const int split = input.indexOf(FileSeparator);
    const QByteArray appConfig = split < 0 ? input : input.left(split);
    const QByteArray userData = split < 0 ? input : input.mid(split + int(sizeof FileSeparator) - 1);

    FuzzWorkDir dir;
    FUZZ_CHECK(dir.isValid(), QString());
    dir.writeFile(AppConfig, appConfig);
    dir.writeFile(UserData, userData);

    reportOutcome(AppConfig, 1);
    reportOutcome(UserData, 2);

    const LinkParameters p = readLinkParameters();
    FUZZ_CHECK(!p.port.isEmpty() && !p.baud.isEmpty() && !p.ipAddress.isEmpty() && !p.netPort.isEmpty(),
               QString());
    FUZZ_CHECK(p.matrixId != -1, QString());
    const Snapshot before = readAllButPollSleep();
    checkChannelCount(getInCount(), "incount ");
    checkChannelCount(getOutCount(), "outcount ");
    FUZZ_CHECK(dir.readFile(AppConfig) == appConfig, QStringLiteral("reading changed AppConfig.ini"));
    FUZZ_CHECK(dir.readFile(UserData) == userData, QStringLiteral("reading changed UserData.ini"));

    // A setter rewrites the whole file: every other key must read as before.
    const int sleep = before.numbers.value(0) + 7;
    setPollSleep(sleep);
    FUZZ_CHECK(getPollSleep() == sleep, QString::number(getPollSleep()));
    FUZZ_CHECK(readAllButPollSleep() == before, QStringLiteral("setPollSleep changed another key"));
    return 0;
}
