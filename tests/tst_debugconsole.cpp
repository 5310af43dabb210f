#include "link/hextext.h"
#include "link/protocoladapter.h"
#include "panels/cdebugerframe.h"
#include "support/ptypair.h"
#include "support/testenv.h"

#include <QtTest>
#include <QtWidgets>

// A log's entries with their stamps (hh:mm:ss:zzz and a blank) cut off; "?" marks an entry without one.
static QStringList entries(const CDebugerFrame &frame, const char *log)
{
    static const QRegularExpression stamped(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d:\\d\\d\\d "));
    QStringList lines = frame.findChild<QTextEdit *>(QLatin1String(log))->toPlainText().split(QLatin1Char('\n'));
    for (QString &line : lines)
        line = stamped.match(line).hasMatch() ? line.mid(13) : QLatin1Char('?') + line;
    return lines;
}

class TestDebugConsole : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnv> m_env;
    PtyPair m_pty;

private slots:
    void initTestCase()
    {
        m_env = std::make_unique<TestEnv>();
        QVERIFY(protocoladapter::instance().openSerial(m_pty.slavePath(), QStringLiteral("9600")));
    }

    void hexParser_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << "" << QByteArray();
        QTest::newRow("low byte, any length") << "4 141 123456789ABCDEF0123456789" << QByteArray("\x04\x41\x89");
        QTest::newRow("loose blanks, no numbers dropped") << " 31\t\tZZ 44 \n 4G -1 +41 2E  " << QByteArray("1D.");
        QTest::newRow("0x prefix, lower case") << "0x41 0X42 0x5 0x ff 0a" << QByteArray("AB\x05\xff\x0a");
    }

    void hexParser()
    {
        QFETCH(QString, typed);
        QFETCH(QByteArray, bytes);
        QCOMPARE(HexText::fromHexText(typed), bytes);
    }

    void typedCommand_data()
    {
        QTest::addColumn<QStringList>("steps"); // "h" clicks the hex switch, any other text is typed
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QByteArray>("sent"); // nothing: sent while the link is down
        QTest::newRow("text") << QStringList{"1BUZON"} << "1BUZON" << QByteArray("1BUZON");
        QTest::newRow("hex") << QStringList{"h", "31 44 32 56 33 2E"} << "31 44 32 56 33 2E" << QByteArray("1D2V3.");
        QTest::newRow("hex turned to text") << QStringList{"h", "41 42", "h"} << "AB" << QByteArray("AB");
        // Latin-1 on the way to hex, UTF-8 on the way back: a lone E9 is no UTF-8.
        QTest::newRow("no link: nothing sent or logged") << QStringList{"\u00e9", "h", "h"} << "\ufffd" << QByteArray();
    }

    void typedCommand()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, shown);
        QFETCH(QByteArray, sent);
        const bool link = !sent.isEmpty();
        CDebugerFrame frame;
        for (const QString &step : steps)
            step == QLatin1String("h") ? frame.findChild<QCheckBox *>()->click() : frame.findChild<QLineEdit *>()->setText(step);
        QCOMPARE(frame.findChild<QLineEdit *>()->text(), shown);
        if (!link)
            protocoladapter::instance().closeSerial();
        frame.findChild<QPushButton *>()->click();
        if (!link)
            QVERIFY(protocoladapter::instance().openSerial(m_pty.slavePath(), QStringLiteral("9600")));
        protocoladapter::instance().sendOneByOne();
        QCOMPARE(m_pty.readAtLeast(sent.size() + 7), sent + "1TOONE.");
        QCOMPARE(entries(frame, "textLog").join('|'), (link ? QString::fromLatin1(sent) + '|' : QString()) + "1TOONE.");
    }

    // The logs keep the newest 10000 lines and drop the oldest 1000 at a time.
    void logKeepsTheLastLines()
    {
        CDebugerFrame frame;
        for (int i = 0; i < 10998; ++i)
            frame.onDataSending(QStringLiteral("Z%1").arg(i));
        frame.show(); // the view follows the newest line while it is scrolled to the end
        QScrollBar *bar = frame.findChild<QTextEdit *>(QStringLiteral("textLog"))->verticalScrollBar();
        bar->setValue(bar->maximum());
        frame.onDataSending(QStringLiteral("Z10998"));
        QCOMPARE(QString("%1 %2").arg(entries(frame, "textLog").size()).arg(bar->maximum() - bar->value()), "10999 0");
        frame.onDataSending(QStringLiteral("Z10999"));
        const QStringList text = entries(frame, "textLog");
        const QStringList hex = entries(frame, "hexLog");
        QCOMPARE(QString("%1 %2|%3").arg(text.size()).arg(text.first(), text.last()), "10000 Z1000|Z10999");
        QCOMPARE(QString("%1 %2|%3").arg(hex.size()).arg(hex.first(), hex.last()), "10000 5A 31 30 30 30|5A 31 30 39 39 39");
    }
};

QTEST_MAIN(TestDebugConsole)
#include "tst_debugconsole.moc"
