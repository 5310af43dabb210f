#include "widgets/cipedit.h"
#include "widgets/cippartedit.h"

#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

// The four-octet address field as the operator types into it.
class TestIpEdit : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void typing_data();
    void typing();
    void periodJumpsAndSelects();
    void clearedPartIsRestoredOnLeaving();
    void setTextDoesNotMoveFocus();
    void setText_data();
    void setText();
    void signalsCarryTheWholeAddress();
    void focusLookFollowsTheParts();

private:
    QList<CIpPartEdit *> parts() const { return m_edit->findChildren<CIpPartEdit *>(); }
    int focusedPart() const { return parts().indexOf(qobject_cast<CIpPartEdit *>(QApplication::focusWidget())); }
    void focusPart(int n);
    static void type(const QString &keys);

    QWidget *m_window = nullptr;
    CIPEdit *m_edit = nullptr;
    QLineEdit *m_other = nullptr;
};

void TestIpEdit::init()
{
    m_window = new QWidget;
    auto *layout = new QVBoxLayout(m_window);
    // The other field comes first, so it takes the focus when the window opens.
    m_other = new QLineEdit;
    m_edit = new CIPEdit;
    layout->addWidget(m_other);
    layout->addWidget(m_edit);
    m_window->show();
    QApplication::setActiveWindow(m_window);
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    QCOMPARE(parts().size(), 4);
}

void TestIpEdit::cleanup()
{
    delete m_window;
    m_window = nullptr;
}

void TestIpEdit::focusPart(int n)
{
    parts().at(n)->setFocus(Qt::MouseFocusReason);
    QTRY_COMPARE(focusedPart(), n);
}

void TestIpEdit::type(const QString &keys)
{
    for (const QChar c : keys)
        QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
}

void TestIpEdit::typing_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("focused");

    QTest::newRow("one digit stays") << "7" << "7..." << 0;
    QTest::newRow("25 stays") << "25" << "25..." << 0;
    QTest::newRow("19 stays") << "19" << "19..." << 0;
    QTest::newRow("26 moves on") << "26" << "26..." << 1;
    QTest::newRow("99 moves on") << "99" << "99..." << 1;
    QTest::newRow("third digit moves on") << "255" << "255..." << 1;
    QTest::newRow("leading zeros move on") << "000" << "000..." << 1;
    QTest::newRow("300 cannot be typed") << "300" << "30.0.." << 1;
    QTest::newRow("whole address") << "192168001010" << "192.168.001.010" << 3;
    QTest::newRow("periods between short parts") << "1.2.3.4" << "1.2.3.4" << 3;
    QTest::newRow("period in the last part does nothing") << "1.2.3.4.5" << "1.2.3.45" << 3;
    QTest::newRow("last part keeps the focus") << "10.20.30.255" << "10.20.30.255" << 3;
    QTest::newRow("letters are refused") << "1a.b2" << "1.2.." << 1;
}

void TestIpEdit::typing()
{
    QFETCH(QString, keys);
    QFETCH(QString, text);
    QFETCH(int, focused);

    focusPart(0);
    type(keys);
    QCOMPARE(m_edit->text(), text);
    QCOMPARE(focusedPart(), focused);
}

void TestIpEdit::periodJumpsAndSelects()
{
    m_edit->setText(QStringLiteral("10.20.30.40"));
    focusPart(0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
    type(QStringLiteral("."));
    QCOMPARE(focusedPart(), 1);
    QCOMPARE(parts().at(1)->selectedText(), QStringLiteral("20"));
    type(QStringLiteral("5"));
    QCOMPARE(m_edit->text(), QStringLiteral("10.5.30.40"));
    QCOMPARE(focusedPart(), 1);
}

void TestIpEdit::clearedPartIsRestoredOnLeaving()
{
    m_edit->setText(QStringLiteral("1.2.3.4"));
    focusPart(1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    QCOMPARE(m_edit->text(), QStringLiteral("1..3.4"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(focusedPart(), 2);
    QCOMPARE(m_edit->text(), QStringLiteral("1.2.3.4"));

    // Backspace never walks back to the previous part.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    QCOMPARE(focusedPart(), 2);

    // A part that was empty when entered may be left empty.
    m_other->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), m_other);
    QCOMPARE(m_edit->text(), QStringLiteral("1.2.3.4"));
    m_edit->setText(QString());
    focusPart(3);
    m_other->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), m_other);
    QCOMPARE(m_edit->text(), QStringLiteral("..."));
}

void TestIpEdit::setTextDoesNotMoveFocus()
{
    focusPart(0);
    m_edit->setText(QStringLiteral("255.255.255.0"));
    QCOMPARE(focusedPart(), 0);
}

void TestIpEdit::setText_data()
{
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("text");

    QTest::newRow("plain") << "192.168.1.168" << "192.168.1.168";
    QTest::newRow("leading zeros kept") << "192.168.001.010" << "192.168.001.010";
    QTest::newRow("extremes") << "0.0.0.0" << "0.0.0.0";
    QTest::newRow("all 255") << "255.255.255.255" << "255.255.255.255";
    QTest::newRow("three groups") << "1.2.3" << "...";
    QTest::newRow("empty last group") << "1.2.3." << "...";
    QTest::newRow("group above 255") << "1.2.3.256" << "...";
    QTest::newRow("five groups") << "1.2.3.4.5" << "...";
    QTest::newRow("four digits") << "1.2.3.1000" << "...";
    QTest::newRow("trailing blank") << "1.2.3.4 " << "...";
    QTest::newRow("letters") << "a.b.c.d" << "...";
    QTest::newRow("empty") << "" << "...";
}

void TestIpEdit::setText()
{
    QFETCH(QString, given);
    QFETCH(QString, text);

    m_edit->setText(QStringLiteral("9.9.9.9"));
    m_edit->setText(given);
    QCOMPARE(m_edit->text(), text);
}

void TestIpEdit::signalsCarryTheWholeAddress()
{
    QSignalSpy changed(m_edit, &CIPEdit::textchanged);
    QSignalSpy edited(m_edit, &CIPEdit::textedited);

    m_edit->setText(QStringLiteral("1.2.3.4"));
    QCOMPARE(changed.size(), 4);
    QCOMPARE(changed.last().at(0).toString(), QStringLiteral("1.2.3.4"));
    QCOMPARE(edited.size(), 0);

    // Only the part whose text changes reports.
    m_edit->setText(QStringLiteral("1.2.3.5"));
    QCOMPARE(changed.size(), 5);

    focusPart(2);
    type(QStringLiteral("7"));
    QCOMPARE(edited.size(), 1);
    QCOMPARE(edited.last().at(0).toString(), QStringLiteral("1.2.7.5"));
}

void TestIpEdit::focusLookFollowsTheParts()
{
    const QList<CIpPartEdit *> all = parts();
    for (CIpPartEdit *part : qAsConst(all))
        QVERIFY(!part->property("focusIn").toBool());

    focusPart(2);
    for (CIpPartEdit *part : qAsConst(all))
        QVERIFY(part->property("focusIn").toBool());
    QVERIFY(parts().at(0)->styleSheet().contains(QStringLiteral("#668dda")));

    // Moving between parts ends in the focused look.
    type(QStringLiteral("."));
    QCOMPARE(focusedPart(), 3);
    for (CIpPartEdit *part : qAsConst(all))
        QVERIFY(part->property("focusIn").toBool());

    m_other->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), m_other);
    for (CIpPartEdit *part : qAsConst(all))
        QVERIFY(!part->property("focusIn").toBool());
}

QTEST_MAIN(TestIpEdit)
#include "tst_ipedit.moc"
