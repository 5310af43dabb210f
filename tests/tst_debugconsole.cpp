#include "config/linkparameters.h"
#include "link/protocoladapter.h"
#include "panels/cdebugerframe.h"
#include "panels/hextext.h"
#include "support/ptypair.h"
#include "support/testenv.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFontInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QResource>
#include <QTextBlock>
#include <QTextEdit>
#include <QTranslator>
#include <QtTest>

#include <memory>

// The debug console: the hex form, the two logs, and raw commands typed by the operator.
class TestDebugConsole : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void hexForm_data();
    void hexForm();
    void hexParser_data();
    void hexParser();

    void logsShowEverySentCommand_data();
    void logsShowEverySentCommand();
    void nothingLoggedWithoutLink();
    void logsKeepTheLastLines();
    void sendTypedCommand_data();
    void sendTypedCommand();
    void emptyFieldIsSentAsIs();
    void hexSwitchConvertsTheField_data();
    void hexSwitchConvertsTheField();
    void textsFollowTheLanguage();
    void logsUseFixedWidthFont();

private:
    QTextEdit *log(const char *name) const { return m_frame->findChild<QTextEdit *>(QLatin1String(name)); }
    QCheckBox *hexSwitch() const { return m_frame->findChild<QCheckBox *>(QStringLiteral("hexSwitch")); }
    QLineEdit *commandEdit() const { return m_frame->findChild<QLineEdit *>(QStringLiteral("commandEdit")); }
    QPushButton *sendButton() const { return m_frame->findChild<QPushButton *>(QStringLiteral("sendButton")); }
    QGroupBox *testGroup() const { return m_frame->findChild<QGroupBox *>(QStringLiteral("testGroup")); }
    static QStringList lines(QTextEdit *log) { return log->toPlainText().split(QLatin1Char('\n')); }

    std::unique_ptr<TestEnv> m_env;
    std::unique_ptr<PtyPair> m_pty;
    std::unique_ptr<CDebugerFrame> m_frame;
};

void TestDebugConsole::initTestCase()
{
    m_env = std::make_unique<TestEnv>(true);
}

void TestDebugConsole::cleanupTestCase()
{
    m_env.reset();
}

void TestDebugConsole::init()
{
    m_pty = std::make_unique<PtyPair>();
    QVERIFY(m_pty->isValid());
    QVERIFY(protocoladapter::instance().openSerial(m_pty->slavePath(), QStringLiteral("9600")));
    linkParameters().matrixId = 1;
    m_frame = std::make_unique<CDebugerFrame>();
}

void TestDebugConsole::cleanup()
{
    m_frame.reset();
    if (protocoladapter::instance().isSerialOpen())
        protocoladapter::instance().closeSerial();
    m_pty.reset();
}

void TestDebugConsole::hexForm_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("one byte") << QByteArray("1") << QStringLiteral("31");
    QTest::newRow("three bytes") << QByteArray("1D.") << QStringLiteral("31 44 2E");
    QTest::newRow("upper case") << QByteArray("\x0a\xff\xab", 3) << QStringLiteral("0A FF AB");
    QTest::newRow("NUL") << QByteArray("\0A", 2) << QStringLiteral("00 41");
}

void TestDebugConsole::hexForm()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(HexText::toHexText(bytes), text);
}

void TestDebugConsole::hexParser_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("pair") << "41" << QByteArray("\x41");
    QTest::newRow("three digits keep the low byte") << "141" << QByteArray("\x41");
    QTest::newRow("one digit") << "4" << QByteArray("\x04");
    QTest::newRow("lower case") << "ff 0a" << QByteArray("\xff\x0a");
    QTest::newRow("not hex dropped") << "ZZ" << QByteArray();
    QTest::newRow("bad token between good ones") << "31 ZZ 44" << QByteArray("1D");
    QTest::newRow("half hex dropped") << "4G" << QByteArray();
    QTest::newRow("blanks around and doubled") << "   31    44  " << QByteArray("1D");
    QTest::newRow("tabs and line breaks") << "31\t44\n2E" << QByteArray("1D.");
    QTest::newRow("empty") << "" << QByteArray();
    QTest::newRow("only blanks") << "    " << QByteArray();
    QTest::newRow("a command") << "31 44 32 56 33 2E" << QByteArray("1D2V3.");
    QTest::newRow("NUL byte") << "00 41" << QByteArray("\0A", 2);
    QTest::newRow("any number of digits") << "123456789ABCDEF0123456789" << QByteArray("\x89");
    QTest::newRow("0x prefix") << "0x41 0X42" << QByteArray("AB");
    QTest::newRow("bare 0x dropped") << "0x" << QByteArray();
    QTest::newRow("signs dropped") << "-1 +41" << QByteArray();
    QTest::newRow("full-width digits dropped") << QStringLiteral("\uff14\uff11") << QByteArray();
}

void TestDebugConsole::hexParser()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(HexText::fromHexText(text), bytes);
}

void TestDebugConsole::logsShowEverySentCommand_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("hex");
    QTest::newRow("buzzer") << "1BUZON" << "31 42 55 5A 4F 4E";
    QTest::newRow("one character") << "A" << "41";
    QTest::newRow("markup shown as typed") << "<b>1&amp;2</b>" << "3C 62 3E 31 26 61 6D 70 3B 32 3C 2F 62 3E";
    QTest::newRow("blanks kept") << "1  2" << "31 20 20 32";
}

void TestDebugConsole::logsShowEverySentCommand()
{
    QFETCH(QString, command);
    QFETCH(QString, hex);

    protocoladapter::instance().sendRaw(QStringLiteral("1D1V2."));
    protocoladapter::instance().sendRaw(command);

    const QStringList textLines = lines(log("textLog"));
    const QStringList hexLines = lines(log("hexLog"));
    QCOMPARE(textLines.size(), 2);
    QCOMPARE(hexLines.size(), 2);
    const QRegularExpression stamped(QStringLiteral("^(\\d\\d:\\d\\d:\\d\\d:\\d\\d\\d) (.*)$"));
    const QRegularExpressionMatch text = stamped.match(textLines.at(1));
    const QRegularExpressionMatch bytes = stamped.match(hexLines.at(1));
    QVERIFY2(text.hasMatch(), qPrintable(textLines.at(1)));
    QVERIFY2(bytes.hasMatch(), qPrintable(hexLines.at(1)));
    QCOMPARE(text.captured(1), bytes.captured(1));
    QCOMPARE(text.captured(2), command);
    QCOMPARE(bytes.captured(2), hex);
    QVERIFY(textLines.at(0).endsWith(QLatin1String(" 1D1V2.")));
}

void TestDebugConsole::nothingLoggedWithoutLink()
{
    protocoladapter::instance().closeSerial();
    commandEdit()->setText(QStringLiteral("1BUZON"));
    sendButton()->click();
    protocoladapter::instance().sendBuzzer(true);
    QVERIFY(log("textLog")->document()->isEmpty());
    QVERIFY(log("hexLog")->document()->isEmpty());
}

// Old lines go in batches of LogTrimBatch, so a full log holds between
// LogLineLimit and LogLineLimit + LogTrimBatch lines, always the newest ones.
void TestDebugConsole::logsKeepTheLastLines()
{
    const int total = CDebugerFrame::LogLineLimit + CDebugerFrame::LogTrimBatch + 25;
    for (int i = 0; i < total; ++i)
        m_frame->onDataSending(QString::number(i));

    const QString last = QString::number(total - 1);
    QTextDocument *text = log("textLog")->document();
    QVERIFY(text->blockCount() >= CDebugerFrame::LogLineLimit);
    QVERIFY(text->blockCount() < CDebugerFrame::LogLineLimit + CDebugerFrame::LogTrimBatch);
    const QString first = QString::number(total - text->blockCount());
    QVERIFY(text->firstBlock().text().endsWith(QLatin1Char(' ') + first));
    QVERIFY(text->lastBlock().text().endsWith(QLatin1Char(' ') + last));
    QTextDocument *hex = log("hexLog")->document();
    QCOMPARE(hex->blockCount(), text->blockCount());
    QVERIFY(hex->firstBlock().text().endsWith(QLatin1Char(' ') + HexText::toHexText(first.toLatin1())));
    QVERIFY(hex->lastBlock().text().endsWith(QLatin1Char(' ') + HexText::toHexText(last.toLatin1())));
}

void TestDebugConsole::sendTypedCommand_data()
{
    QTest::addColumn<bool>("hex");
    QTest::addColumn<int>("matrixId");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("sent");

    QTest::newRow("text") << false << 1 << "1D2V3." << QByteArray("1D2V3.");
    QTest::newRow("hex") << true << 1 << "31 44 32 56 33 2E" << QByteArray("1D2V3.");
    QTest::newRow("hex with loose blanks") << true << 1 << "  31   44 " << QByteArray("1D");
    QTest::newRow("text, matrix id 0") << false << 0 << "HDMI1" << QByteArray("HMI1");
    QTest::newRow("text, leading 0") << false << 2 << "0ABC" << QByteArray("ABC");
}

void TestDebugConsole::sendTypedCommand()
{
    QFETCH(bool, hex);
    QFETCH(int, matrixId);
    QFETCH(QString, typed);
    QFETCH(QByteArray, sent);

    linkParameters().matrixId = matrixId;
    hexSwitch()->setChecked(hex);
    commandEdit()->setText(typed);
    sendButton()->click();

    QCOMPARE(m_pty->readAtLeast(sent.size()), sent);
    QCOMPARE(commandEdit()->text(), typed);
    QVERIFY(lines(log("textLog")).constLast().endsWith(QLatin1Char(' ') + QString::fromLatin1(sent)));
}

void TestDebugConsole::emptyFieldIsSentAsIs()
{
    QSignalSpy sent(&protocoladapter::instance(), &protocoladapter::sendData);
    sendButton()->click();
    QCOMPARE(sent.count(), 1);
    QCOMPARE(sent.at(0).at(0).toString(), QString());
    QVERIFY(lines(log("textLog")).constFirst().endsWith(QLatin1Char(' ')));
    QCOMPARE(m_pty->readFor(50), QByteArray());
}

void TestDebugConsole::hexSwitchConvertsTheField_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("asHex");
    QTest::addColumn<QString>("back");
    QTest::newRow("ascii") << "AB" << "41 42" << "AB";
    // Text goes out as Latin-1 and comes back as UTF-8: a lone E9 is no UTF-8.
    QTest::newRow("latin-1 letter") << QStringLiteral("\u00e9") << "E9" << QStringLiteral("\ufffd");
    QTest::newRow("empty stays empty") << "" << "" << "";
}

void TestDebugConsole::hexSwitchConvertsTheField()
{
    QFETCH(QString, typed);
    QFETCH(QString, asHex);
    QFETCH(QString, back);

    commandEdit()->setText(typed);
    hexSwitch()->click();
    QVERIFY(hexSwitch()->isChecked());
    QCOMPARE(commandEdit()->text(), asHex);
    hexSwitch()->click();
    QVERIFY(!hexSwitch()->isChecked());
    QCOMPARE(commandEdit()->text(), back);
}

void TestDebugConsole::textsFollowTheLanguage()
{
    QCOMPARE(testGroup()->title(), QStringLiteral("Tset code"));
    QCOMPARE(hexSwitch()->text(), QStringLiteral("Hex"));
    QCOMPARE(sendButton()->text(), QStringLiteral("send"));

    QTranslator translator;
    QVERIFY(translator.load(m_env->filePath("Lang/zh_tw.qm")));
    QApplication::installTranslator(&translator);
    QTRY_COMPARE(sendButton()->text(), QStringLiteral("傳送"));
    QCOMPARE(testGroup()->title(), QStringLiteral("測試指令"));
    QCOMPARE(hexSwitch()->text(), QStringLiteral("十六進位"));

    QVERIFY(translator.load(m_env->filePath("Lang/zh_cn.qm")));
    QApplication::installTranslator(&translator);
    QTRY_COMPARE(sendButton()->text(), QStringLiteral("发送"));
    QCOMPARE(hexSwitch()->text(), QStringLiteral("十六进制"));

    QApplication::removeTranslator(&translator);
    QTRY_COMPARE(sendButton()->text(), QStringLiteral("send"));
    QCOMPARE(testGroup()->title(), QStringLiteral("Tset code"));
}

void TestDebugConsole::logsUseFixedWidthFont()
{
    QVERIFY(QResource::registerResource(m_env->filePath("resource.dll")));
    QFile style(QStringLiteral(":/resource/qss/writestyle.qss"));
    QVERIFY(style.open(QIODevice::ReadOnly));
    qApp->setStyleSheet(QString::fromUtf8(style.readAll()));
    m_frame->setObjectName(QStringLiteral("debugWidget"));
    m_frame->show();
    for (const char *name : {"textLog", "hexLog"}) {
        QTextEdit *edit = log(name);
        edit->ensurePolished();
        const QFontInfo font(edit->font());
        QVERIFY2(font.fixedPitch(), qPrintable(font.family()));
    }
    qApp->setStyleSheet(QString());
}

QTEST_MAIN(TestDebugConsole)
#include "tst_debugconsole.moc"
