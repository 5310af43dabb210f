#include "config/linkparameters.h"
#include "config/settings.h"
#include "support/testenv.h"

#include <QSettings>
#include <QtTest>

#include <memory>

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_env = std::make_unique<TestEnv>(); }
    void cleanup() { m_env.reset(); }

    void missingFilesGiveDefaults();
    void channelCountRule_data();
    void channelCountRule();
    void matrixIdRule_data();
    void matrixIdRule();
    void blankStringsTakeDefaults();
    void settersWriteAtOnceUnderGeneral();
    void setterLeavesLinkParametersAlone();
    void everyAccessorRoundTrips();

private:
    std::unique_ptr<TestEnv> m_env;
};

void TestSettings::missingFilesGiveDefaults()
{
    const LinkParameters p = readLinkParameters();
    QCOMPARE(p.port, QStringLiteral("COM1"));
    QCOMPARE(p.baud, QStringLiteral("9600"));
    QCOMPARE(p.ipAddress, QStringLiteral("192.168.1.168"));
    QCOMPARE(p.netPort, QStringLiteral("6800"));
    QCOMPARE(p.matrixId, 1);
    QCOMPARE(p.langType, 0);
    QCOMPARE(p.connectType, 0);
    QCOMPARE(p.audio, 0);
    QCOMPARE(p.type, 0);
    QCOMPARE(getInCount(), 16);
    QCOMPARE(getOutCount(), 16);
    QCOMPARE(getMatrixId(), -1);
    // Reading creates nothing.
    QVERIFY(!QFile::exists(m_env->filePath("AppConfig.ini")));
    QVERIFY(!QFile::exists(m_env->filePath("UserData.ini")));
}

void TestSettings::channelCountRule_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<int>("expected");
    QTest::newRow("zero") << QByteArray("0") << 16;
    QTest::newRow("one") << QByteArray("1") << 1;
    QTest::newRow("64") << QByteArray("64") << 64;
    QTest::newRow("65") << QByteArray("65") << 64;
    QTest::newRow("200") << QByteArray("200") << 64;
    QTest::newRow("negative") << QByteArray("-3") << -3;
    QTest::newRow("garbage") << QByteArray("lots") << 16;
    QTest::newRow("blank") << QByteArray("") << 16;
}

void TestSettings::channelCountRule()
{
    QFETCH(QByteArray, stored);
    QFETCH(int, expected);
    m_env->writeFile("AppConfig.ini", "[General]\nincount=" + stored + "\noutcount=" + stored + "\n");
    QCOMPARE(getInCount(), expected);
    QCOMPARE(getOutCount(), expected);
}

void TestSettings::matrixIdRule_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("expected");
    QTest::newRow("absent") << QByteArray("[General]\n") << 1;
    QTest::newRow("minus one") << QByteArray("[General]\nid=-1\n") << 1;
    QTest::newRow("zero") << QByteArray("[General]\nid=0\n") << 0;
    QTest::newRow("twelve") << QByteArray("[General]\nid=12\n") << 12;
    QTest::newRow("garbage") << QByteArray("[General]\nid=abc\n") << 0;
}

void TestSettings::matrixIdRule()
{
    QFETCH(QByteArray, file);
    QFETCH(int, expected);
    m_env->writeFile("UserData.ini", file);
    QCOMPARE(readLinkParameters().matrixId, expected);
}

void TestSettings::blankStringsTakeDefaults()
{
    m_env->writeFile("UserData.ini", "[General]\nPort=\nBaud=\nIPAdd=\nNetPort=\n");
    const LinkParameters p = readLinkParameters();
    QCOMPARE(p.port, QStringLiteral("COM1"));
    QCOMPARE(p.baud, QStringLiteral("9600"));
    QCOMPARE(p.ipAddress, QStringLiteral("192.168.1.168"));
    QCOMPARE(p.netPort, QStringLiteral("6800"));

    m_env->writeFile("UserData.ini", "[General]\nPort=ttyUSB0\nBaud=115200\nIPAdd=127.0.0.1\nNetPort=7000\n"
                                     "ConnectType=1\naudio=3\n");
    m_env->writeFile("AppConfig.ini", "[General]\nlangType=2\ntype=5\n");
    const LinkParameters q = readLinkParameters();
    QCOMPARE(q.port, QStringLiteral("ttyUSB0"));
    QCOMPARE(q.baud, QStringLiteral("115200"));
    QCOMPARE(q.ipAddress, QStringLiteral("127.0.0.1"));
    QCOMPARE(q.netPort, QStringLiteral("7000"));
    QCOMPARE(q.connectType, 1);
    QCOMPARE(q.audio, 3);
    QCOMPARE(q.langType, 2);
    QCOMPARE(q.type, 5);
}

void TestSettings::settersWriteAtOnceUnderGeneral()
{
    setTimingSleep(5);
    setLangType(1);
    // On disk before any other settings object is created or destroyed.
    const QByteArray user = m_env->readFile("UserData.ini");
    QVERIFY2(user.startsWith("[General]"), user.constData());
    QVERIFY(user.contains("TimingSleep=5"));
    QVERIFY(m_env->readFile("AppConfig.ini").contains("[General]\nlangType=1"));
    QCOMPARE(getTimingSleep(), 5);
}

void TestSettings::setterLeavesLinkParametersAlone()
{
    LinkParameters &shared = linkParameters();
    const int before = shared.langType;
    setLangType(before + 1);
    QCOMPARE(getLangType(), before + 1);
    QCOMPARE(linkParameters().langType, before);
    QCOMPARE(&linkParameters(), &shared);
}

void TestSettings::everyAccessorRoundTrips()
{
    const QList<QPair<void (*)(int), int (*)()>> ints = {
        {setLangType, getLangType}, {setType, getType}, {setMatrix, getMatrix},
        {setInCount, getInCount}, {setOutCount, getOutCount}, {setMatrixId, getMatrixId},
        {setAudio, getAudio}, {setConnectType, getConnectType},
        {setPollInBegin, getPollInBegin}, {setPollInEnd, getPollInEnd},
        {setPollOutStart, getPollOutStart}, {setPollOutEnd, getPollOutEnd},
        {setPollSleep, getPollSleep}, {setTimingStart, getTimingStart},
        {setTimingEnd, getTimingEnd}, {setTimingOut, getTimingOut},
        {setTimingSleep, getTimingSleep},
    };
    int value = 7;
    for (const auto &accessor : ints) {
        accessor.first(value);
        QCOMPARE(accessor.second(), value);
        ++value;
    }
    const QList<QPair<void (*)(const QString &), QString (*)()>> strings = {
        {setPort, getPort}, {setBaud, getBaud}, {setIPAdd, getIPAdd}, {setNetPort, getNetPort},
    };
    for (const auto &accessor : strings) {
        accessor.first(QStringLiteral("text %1").arg(value));
        QCOMPARE(accessor.second(), QStringLiteral("text %1").arg(value));
        ++value;
    }
    // Each key lands in its own file.
    QSettings app(m_env->filePath("AppConfig.ini"), QSettings::IniFormat);
    QCOMPARE(app.childKeys().size(), 5);
    QSettings user(m_env->filePath("UserData.ini"), QSettings::IniFormat);
    QCOMPARE(user.childKeys().size(), 16);
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
