#include "setup/cconfigipdlg.h"
#include "support/modalhelper.h"
#include "widgets/cipedit.h"
#include "widgets/cippartedit.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

// What the network settings dialog lets through its OK button.
class TestConfigIpDlg : public QObject
{
    Q_OBJECT

private slots:
    void okNeedsThreeDottedQuads_data();
    void okNeedsThreeDottedQuads();
    void portAndMacAreShownOnly();

private:
    static QPushButton *button(QDialog *dialog, const QString &text);
};

QPushButton *TestConfigIpDlg::button(QDialog *dialog, const QString &text)
{
    const auto buttons = dialog->findChildren<QPushButton *>();
    for (QPushButton *b : buttons) {
        if (b->text() == text)
            return b;
    }
    return nullptr;
}

void TestConfigIpDlg::okNeedsThreeDottedQuads_data()
{
    QTest::addColumn<QString>("ip");
    QTest::addColumn<QString>("subnet");
    QTest::addColumn<QString>("gateway");
    QTest::addColumn<int>("clearedIpPart");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("ordinary") << "127.0.0.1" << "255.255.255.0" << "127.0.0.254" << -1 << true;
    QTest::newRow("gateway of zeros") << "127.0.0.1" << "255.255.255.0" << "0.0.0.0" << -1 << true;
    QTest::newRow("odd subnet mask") << "127.0.0.1" << "255.0.255.1" << "127.0.0.1" << -1 << true;
    QTest::newRow("leading zeros") << "127.000.000.001" << "255.255.255.000" << "127.0.0.1" << -1 << true;
    QTest::newRow("ip last part empty") << "127.0.0.1" << "255.255.255.0" << "127.0.0.1" << 3 << false;
    QTest::newRow("ip first part empty") << "127.0.0.1" << "255.255.255.0" << "127.0.0.1" << 0 << false;
    QTest::newRow("subnet above 255") << "127.0.0.1" << "255.255.256.0" << "127.0.0.1" << -1 << false;
    QTest::newRow("gateway incomplete") << "127.0.0.1" << "255.255.255.0" << "127.0.0" << -1 << false;
}

void TestConfigIpDlg::okNeedsThreeDottedQuads()
{
    QFETCH(QString, ip);
    QFETCH(QString, subnet);
    QFETCH(QString, gateway);
    QFETCH(int, clearedIpPart);
    QFETCH(bool, accepted);

    CConfigIPDlg dialog;
    dialog.setEntry(DeviceEntry {ip, QStringLiteral("6800"), subnet, gateway, QString(), QString()});
    if (clearedIpPart >= 0) {
        CIPEdit *ipEdit = dialog.findChildren<CIPEdit *>().at(0);
        ipEdit->findChildren<CIpPartEdit *>().at(clearedIpPart)->clear();
    }

    bool stayedOpen = false;
    answerNextModal([&stayedOpen](QDialog *shown) {
        button(shown, QStringLiteral("OK"))->click();
        stayedOpen = shown->isVisible();
        if (stayedOpen)
            button(shown, QStringLiteral("Cancel"))->click();
    });
    const int result = dialog.exec();
    QCOMPARE(result == QDialog::Accepted, accepted);
    QCOMPARE(stayedOpen, !accepted);
    if (accepted) {
        QCOMPARE(dialog.entry().ip, ip);
        QCOMPARE(dialog.entry().subnet, subnet);
        QCOMPARE(dialog.entry().gateway, gateway);
    }
}

void TestConfigIpDlg::portAndMacAreShownOnly()
{
    CConfigIPDlg dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Net Setting"));
    const DeviceEntry given {QStringLiteral("127.0.0.1"), QStringLiteral("6801"),
                             QStringLiteral("255.255.255.0"), QStringLiteral("127.0.0.254"),
                             QStringLiteral("00-1A-2B-3C-4D-5E"), QStringLiteral("Lab")};
    dialog.setEntry(given);

    const auto lineEdits = dialog.findChildren<QLineEdit *>();
    int shownOnly = 0;
    for (QLineEdit *edit : lineEdits) {
        if (qobject_cast<CIpPartEdit *>(edit))
            QVERIFY(edit->isEnabled());
        else if (!edit->isEnabled())
            ++shownOnly;
    }
    QCOMPARE(shownOnly, 2);

    DeviceEntry expected = given;
    expected.alias.clear();
    QCOMPARE(dialog.entry(), expected);

    // An address that is no dotted quad leaves its field empty.
    dialog.setEntry(DeviceEntry {QStringLiteral("127.0.0"), QStringLiteral("6800"), given.subnet,
                                 given.gateway, QString(), QString()});
    QCOMPARE(dialog.entry().ip, QStringLiteral("..."));
}

QTEST_MAIN(TestConfigIpDlg)
#include "tst_configipdlg.moc"
