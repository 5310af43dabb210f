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
        QTest::addColumn<QString>("bad"); // the first token that is no byte
        QTest::newRow("empty") << " " << QByteArray() << "";
        QTest::newRow("one or two digits, 0x, any case") << "4 41 0x42 0X5 ff 0a 80 FF" << QByteArray("\x04\x41\x42\x05\xff\x0a\x80\xff") << "";
        QTest::newRow("loose blanks") << " 31\t\t44 \n 2E  " << QByteArray("1D.") << "";
        QTest::newRow("three digits") << "41 123 ZZ" << QByteArray() << "123";
        for (const char *bad : {"4G", "-1", "+41", "0x", "0x123", "g"})
            QTest::addRow("bad: %s", bad) << QString("31 %1 ZZ").arg(bad) << QByteArray() << bad;
    }

    void hexParser()
    {
        QFETCH(QString, typed);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, bad);
        QByteArray parsed = "stale";
        QString token;
        QCOMPARE(HexText::fromHexText(typed, &parsed, &token), bad.isEmpty());
        QCOMPARE(parsed, bytes);
        QCOMPARE(token, bad);
    }

    void typedCommand_data()
    {
        QTest::addColumn<QStringList>("steps"); // "h" clicks the hex switch, "-" closes the link, "b" sends by the button
        QTest::addColumn<QString>("shown"); //     (else Enter sends); any other text is typed
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<QString>("logged"); // the text log before the sentinel's line
        const QString notHex = "[!] \"%1\" is no hex byte (00 to FF)";
        QTest::newRow("text, by the button") << QStringList{"1BUZON", "b"} << "1BUZON" << QByteArray("1BUZON") << "1BUZON|";
        QTest::newRow("hex, bytes from 80 up") << QStringList{"h", "31 FF 80"} << "31 FF 80" << QByteArray("1\xff\x80") << QString::fromLatin1("1\xff\x80|");
        QTest::newRow("hex turned to text") << QStringList{"h", "41 42", "h"} << "AB" << QByteArray("AB") << "AB|";
        QTest::newRow("bad token: nothing sent") << QStringList{"h", "31 ZZ"} << "31 ZZ" << QByteArray() << notHex.arg("ZZ") + ": nothing sent|";
        QTest::newRow("bad token stays hex") << QStringList{"h", "4 123", "h"} << "4 123" << QByteArray() << notHex.arg("123") + '|' + notHex.arg("123") + ": nothing sent|";
        QTest::newRow("no link: nothing sent, and it says so") << QStringList{"\u00e9", "h", "h", "-"} << "\u00e9" << QByteArray()
                                                              << "[!] \u00e9 not sent: no link is open|";
    }

    void typedCommand()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, shown);
        QFETCH(QByteArray, sent);
        QFETCH(QString, logged);
        CDebugerFrame frame;
        QLineEdit *edit = frame.findChild<QLineEdit *>();
        for (const QString &step : steps) {
            if (step == "h")
                frame.findChild<QCheckBox *>()->click();
            else if (step == "-")
                protocoladapter::instance().closeSerial();
            else if (step != "b")
                edit->setText(step);
        }
        QCOMPARE(edit->text(), shown);
        steps.contains("b") ? frame.findChild<QPushButton *>()->click() : QTest::keyClick(edit, Qt::Key_Return);
        if (!protocoladapter::instance().isSerialOpen())
            QVERIFY(protocoladapter::instance().openSerial(m_pty.slavePath(), QStringLiteral("9600")));
        protocoladapter::instance().sendOneByOne();
        QCOMPARE(m_pty.readAtLeast(sent.size() + 7), sent + "1TOONE.");
        QCOMPARE(entries(frame, "textLog").join('|'), logged + "1TOONE.");
        // A notice stands out in red; a command that went out does not.
        const QTextDocument *text = frame.findChild<QTextEdit *>("textLog")->document();
        for (QTextBlock block = text->begin(); block.isValid(); block = block.next())
            QCOMPARE(block.begin().fragment().charFormat().foreground().color() == Qt::red, block.text().contains("[!]"));
        // Only bytes that went to the wire, exactly those.
        QCOMPARE(entries(frame, "hexLog").join('|'), (sent.isEmpty() ? QString() : HexText::toHexText(sent) + '|') + "31 54 4F 4F 4E 45 2E");
    }

    // The logs keep the newest 10000 lines and drop the oldest 1000 at a time.
    void logKeepsTheLastLines()
    {
        CDebugerFrame frame;
        const auto log = [&frame](int i) {
            frame.onDataSending(QStringLiteral("Z%1").arg(i));
            frame.onBytesSent(QStringLiteral("Z%1").arg(i).toLatin1());
        };
        for (int i = 0; i < 10998; ++i)
            log(i);
        frame.show(); // the view follows the newest line while it is scrolled to the end, also once it shrank
        QScrollBar *bar = frame.findChild<QTextEdit *>(QStringLiteral("textLog"))->verticalScrollBar();
        frame.resize(frame.width(), frame.height() - 40);
        log(10998);
        QCOMPARE(QString("%1 %2").arg(entries(frame, "textLog").size()).arg(bar->maximum() - bar->value()), "10999 0");
        log(10999);
        const QStringList text = entries(frame, "textLog");
        const QStringList hex = entries(frame, "hexLog");
        QCOMPARE(QString("%1 %2|%3").arg(text.size()).arg(text.first(), text.last()), "10000 Z1000|Z10999");
        QCOMPARE(QString("%1 %2|%3").arg(hex.size()).arg(hex.first(), hex.last()), "10000 5A 31 30 30 30|5A 31 30 39 39 39");
    }
};

QTEST_MAIN(TestDebugConsole)
#include "tst_debugconsole.moc"
