#include "config/linkparameters.h"
#include "link/matrixcommand.h"
#include "support/testenv.h"

#include <QtTest>

#include <memory>

// The command table: what each builder writes for a given matrix ID.
class TestCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_env = std::make_unique<TestEnv>(); }
    void cleanupTestCase() { m_env.reset(); }

    void commandTable_data();
    void commandTable();
    void singleOutputEqualsSwitch();
    void matrixIdIsReadForEveryCommand();

private:
    std::unique_ptr<TestEnv> m_env;
};

namespace {

QString build(const QString &builder, const QVariantList &args)
{
    const matrixcommand command;
    const auto arg = [&args](int i) { return args.value(i).toInt(); };
    if (builder == QLatin1String("switch"))
        return command.makeSwitch(arg(0), arg(1));
    if (builder == QLatin1String("switchMulti"))
        return command.makeSwitchMulti(arg(0), args.value(1).toStringList());
    if (builder == QLatin1String("switchToAll"))
        return command.makeSwitchToAll(arg(0));
    if (builder == QLatin1String("oneByOne"))
        return command.makeOneByOne();
    if (builder == QLatin1String("saveScene"))
        return command.makeSaveScene(arg(0));
    if (builder == QLatin1String("callScene"))
        return command.makeCallScene(arg(0));
    if (builder == QLatin1String("buzzerOn"))
        return command.makeBuzzerOn();
    if (builder == QLatin1String("buzzerOff"))
        return command.makeBuzzerOff();
    if (builder == QLatin1String("edid"))
        return command.makeEdid(arg(0), arg(1));
    if (builder == QLatin1String("netSetting"))
        return command.makeNetSetting(args.value(0).toString());
    if (builder == QLatin1String("netQuery"))
        return command.makeNetQuery();
    if (builder == QLatin1String("netReset"))
        return command.makeNetReset();
    return QStringLiteral("unknown builder");
}

} // namespace

void TestCommands::commandTable_data()
{
    QTest::addColumn<int>("matrixId");
    QTest::addColumn<QString>("builder");
    QTest::addColumn<QVariantList>("args");
    QTest::addColumn<QString>("expected");

    const QString net = QStringLiteral("192.168.1.168.255.255.255.0.192.168.1.1");
    QTest::newRow("switch") << 1 << "switch" << QVariantList{3, 5} << "1D3V5.";
    QTest::newRow("switch id 12") << 12 << "switch" << QVariantList{3, 16} << "12D3V16.";
    QTest::newRow("switch id 0 (not rewritten here)") << 0 << "switch" << QVariantList{3, 5} << "0D3V5.";
    QTest::newRow("switch negative") << 1 << "switch" << QVariantList{-1, 2} << "1D-1V2.";
    QTest::newRow("multi") << 1 << "switchMulti" << QVariantList{3, QStringList{"1", "2", "7"}} << "1D3V1,2,7.";
    QTest::newRow("multi two digits") << 1 << "switchMulti" << QVariantList{2, QStringList{"1", "10", "11"}}
                                      << "1D2V1,10,11.";
    QTest::newRow("multi id 12") << 12 << "switchMulti" << QVariantList{64, QStringList{"63", "64"}}
                                 << "12D64V63,64.";
    QTest::newRow("to all one digit") << 1 << "switchToAll" << QVariantList{3} << "1D03TOALL.";
    QTest::newRow("to all id 12") << 12 << "switchToAll" << QVariantList{3} << "12D03TOALL.";
    QTest::newRow("to all two digits") << 12 << "switchToAll" << QVariantList{10} << "12D10TOALL.";
    QTest::newRow("to all three digits") << 1 << "switchToAll" << QVariantList{100} << "1D100TOALL.";
    QTest::newRow("to all negative") << 1 << "switchToAll" << QVariantList{-3} << "1D-3TOALL.";
    QTest::newRow("one by one") << 1 << "oneByOne" << QVariantList{} << "1TOONE.";
    QTest::newRow("one by one id 12") << 12 << "oneByOne" << QVariantList{} << "12TOONE.";
    QTest::newRow("save scene") << 1 << "saveScene" << QVariantList{2} << "1SAVE2";
    QTest::newRow("save scene 10") << 1 << "saveScene" << QVariantList{10} << "1SAVE10";
    QTest::newRow("call scene") << 1 << "callScene" << QVariantList{2} << "1CALL2";
    QTest::newRow("call scene id 12") << 12 << "callScene" << QVariantList{16} << "12CALL16";
    QTest::newRow("buzzer on") << 1 << "buzzerOn" << QVariantList{} << "1BUZON";
    QTest::newRow("buzzer off id 12") << 12 << "buzzerOff" << QVariantList{} << "12BUZOFF";
    QTest::newRow("edid writes output first") << 1 << "edid" << QVariantList{3, 5} << "1D5E3.";
    QTest::newRow("edid id 12") << 12 << "edid" << QVariantList{3, 16} << "12D16E3.";
    QTest::newRow("net setting has no id") << 12 << "netSetting" << QVariantList{net} << "HWS" + net;
    QTest::newRow("net query") << 12 << "netQuery" << QVariantList{} << "HWC";
    QTest::newRow("net reset") << 0 << "netReset" << QVariantList{} << "HWR";
}

void TestCommands::commandTable()
{
    QFETCH(int, matrixId);
    QFETCH(QString, builder);
    QFETCH(QVariantList, args);
    QFETCH(QString, expected);

    linkParameters().matrixId = matrixId;
    QCOMPARE(build(builder, args), expected);
}

void TestCommands::singleOutputEqualsSwitch()
{
    linkParameters().matrixId = 1;
    const matrixcommand command;
    QCOMPARE(command.makeSwitchMulti(4, {QStringLiteral("9")}), command.makeSwitch(4, 9));
}

void TestCommands::matrixIdIsReadForEveryCommand()
{
    const matrixcommand command;
    linkParameters().matrixId = 1;
    QCOMPARE(command.makeBuzzerOn(), QStringLiteral("1BUZON"));
    linkParameters().matrixId = 7;
    QCOMPARE(command.makeBuzzerOn(), QStringLiteral("7BUZON"));
}

QTEST_GUILESS_MAIN(TestCommands)
#include "tst_commands.moc"
