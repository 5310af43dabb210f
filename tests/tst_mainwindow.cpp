#include "app/ctitleframe.h"
#include "app/mainwindow.h"
#include "config/linkparameters.h"
#include "link/protocoladapter.h"
#include "support/modalhelper.h"
#include "support/ptypair.h"
#include "support/tcppeer.h"
#include "support/testenv.h"

#include <QSerialPort>
#include <QtTest>
#include <QtWidgets>

namespace {

QMenu *appMenu(QWidget *window) { return window->findChild<QPushButton *>("aboutButton")->menu(); }

// The language menu's title as shown, and the languages it has checked.
QString languages(QWidget *window)
{
    QString shown = appMenu(window)->actions().first()->menu()->title();
    for (QAction *action : appMenu(window)->actions().first()->menu()->actions())
        shown += action->isChecked() ? " " + action->text() : QString();
    return shown;
}

// The console's notices, without their stamps.
QStringList notices(QWidget *window)
{
    const QStringList lines = window->findChild<QTextEdit *>("textLog")->toPlainText().split('\n').filter(" [!] ");
    return QStringList(lines).replaceInStrings(QRegularExpression("^.* \\[!\\] "), QString());
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

    TestEnv m_env{true};

private slots:
    // The first window of the process takes the stored code, later ones the shared record's.
    void startupLanguage()
    {
        m_env.writeFile("AppConfig.ini", "[General]\nlangType=1\n");
        const struct { int code; const char *shown; } starts[] = {
            {1, "語言 繁体中文"}, {0, "语言 简体中文"}, {2, "Language English"}, {3, "Language"}, {-1, "Language"}};
        for (const auto &start : starts) {
            if (&start != starts)
                linkParameters().langType = start.code;
            QCOMPARE(languages(MainWindow().findChild<CTitleFrame *>()), QString(start.shown));
        }
    }

    // Matrix ID: the kept dialog shows the one in use, as the menu does; Ok takes only a whole number from 0 to 999,
    // anything else it refuses with a hint and stores nothing. About: the notice shows for the exact word only, and
    // stays. A language chosen is stored and announced, the same again not.
    void titleBar()
    {
        linkParameters().langType = 2;
        linkParameters().matrixId = 3;
        MainWindow window;
        int id = 3;
        // Typed, then the ID in use; "!": refused. Cancel for the last.
        for (const QString entry : {"12 12", "1a !", "l !", "1O !", "-7 !", "99999999999 !", "1000 !", " 5 !", " !",
                                    "007 7", "999 999", "0 0", "4 0"}) {
            QCOMPARE(appMenu(&window)->actions().at(1)->text(), QString("Matrix ID: %1").arg(id));
            QString seen;
            answerNextModal([&](QDialog *dialog) {
                const QList<QLineEdit *> fields = dialog->findChildren<QLineEdit *>();
                seen = fields.at(0)->text() + '|' + fields.at(1)->text();
                fields.at(1)->setText(entry.section(' ', 0, -2));
                dialog->findChildren<QPushButton *>().at(entry == "4 0")->click(); // Ok, Cancel
                // Refused: the hint shows, and the field is ready to be typed over.
                seen += dialog->isVisible() && dialog->findChildren<QLabel *>().last()->isVisible()
                        && dialog->focusWidget() == fields.at(1) && fields.at(1)->selectedText() == fields.at(1)->text()
                    ? "|refused" : "";
                if (dialog->isVisible())
                    dialog->reject();
            });
            appMenu(&window)->actions().at(1)->trigger();
            const bool refused = entry.endsWith('!');
            QCOMPARE(seen, QString("Matrix ID %1|%1").arg(id) + (refused ? "|refused" : ""));
            id = refused ? id : entry.section(' ', -1).toInt();
            QCOMPARE(linkParameters().matrixId, id);
            QCOMPARE(QSettings("UserData.ini", QSettings::IniFormat).value("id").toInt(), id);
        }

        for (const QString word : {"supplier", "Supplier", " supplier", "supplier "}) {
            QStringList seen; // whether the notice shows, and the field, as the dialog opens and after two Enters
            answerNextModal([&](QDialog *dialog) {
                for (int enter = 0; enter < 3; ++enter) {
                    seen << QString::number(dialog->findChildren<QLabel *>().last()->isVisible()) + dialog->findChild<QLineEdit *>()->text();
                    QTest::keyClicks(dialog->findChild<QLineEdit *>(), enter ? QString() : word);
                    QTest::keyClick(dialog->findChild<QLineEdit *>(), Qt::Key_Return);
                }
                dialog->reject();
            });
            appMenu(&window)->actions().at(2)->trigger();
            const QString typed = QString(word == "supplier" ? "1" : "0") + word;
            QCOMPARE(seen, (QStringList{"0", typed, typed}));
        }

        QSignalSpy announced(window.findChild<CTitleFrame *>(), &CTitleFrame::changLang);
        const struct { int chosen; const char *shown; int announced; } choices[] = {
            {2, "Language English", 2}, {1, "語言 繁体中文", 1}, {1, "語言 繁体中文", -1}, {0, "语言 简体中文", 0}};
        for (const auto &choice : choices) {
            appMenu(&window)->actions().first()->menu()->actions().at(choice.chosen)->trigger();
            QTRY_COMPARE(languages(&window), QString(choice.shown));
            QCOMPARE(QSettings("AppConfig.ini", QSettings::IniFormat).value("langType").toInt(), choice.chosen);
            QCOMPARE(announced.isEmpty() ? -1 : announced.takeFirst().at(0).toInt(), choice.announced);
        }

        window.show();
        // The frameless window follows the mouse that drags its title bar.
        auto *title = window.findChild<CTitleFrame *>();
        const QPoint from = window.pos();
        QTest::mousePress(title, Qt::LeftButton, {}, QPoint(300, 10));
        QMouseEvent drag(QEvent::MouseMove, QPoint(330, 50), title->mapToGlobal(QPoint(330, 50)), Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(title, &drag);
        QCOMPARE(window.pos() - from, QPoint(30, 40));
        QTest::mouseClick(window.findChild<QPushButton *>("minimizeButton"), Qt::LeftButton);
        QTRY_VERIFY(window.isMinimized());
        QTest::mouseClick(window.findChild<QPushButton *>("closeButton"), Qt::LeftButton);
        QTRY_VERIFY(!window.isVisible());
    }

    // Failures reach the console as notices, with the reason Qt gives; the cursor shows a blocking wait. A poll run
    // goes on over the link that is left and stops with the last one, and starts on none.
    void operatorSeesFailures()
    {
        linkParameters().langType = 2;
        linkParameters().matrixId = 1;
        QTcpSocket refusing; // bound and never listening
        QVERIFY(refusing.bind(QHostAddress::LocalHost, 0, QAbstractSocket::DontShareAddress));
        m_env.writeFile("ipmanager", QString(R"({"items":[{"ip":"127.0.0.1","port":"%1"}]})").arg(refusing.localPort()).toLatin1());
        MainWindow window;
        window.show();
        PtyPair taken, pty;
        QSerialPort elsewhere(taken.slavePath());
        QVERIFY(elsewhere.open(QIODevice::ReadWrite));
        window.findChild<QComboBox *>()->setEditText(taken.slavePath());
        QStringList cursors;
        QObject::connect(&protocoladapter::instance(), &protocoladapter::busy, &window, [&cursors](bool waiting) {
            cursors << QString("%1%2").arg(waiting).arg(QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : -1);
        });
        QTableView *devices = window.findChild<QTableView *>();
        devices->model()->setData(devices->model()->index(0, 0), true);
        for (QPushButton *connectButton : window.findChildren<QPushButton *>())
            if (connectButton->text() == "Connect")
                connectButton->click(); // Com, then Net
        QCOMPARE(notices(&window), (QStringList{"can't open port " + taken.slavePath() + ": Permission error while locking the device",
                                                QString("can't connect to 127.0.0.1:%1: Connection refused").arg(refusing.localPort())}));
        QCOMPARE(cursors.join(' '), "13 0-1");

        withText(&window, "Setting", true)->click();
        QVERIFY(protocoladapter::instance().openSerial(pty.slavePath(), "9600"));
        protocoladapter::instance().closeSerial(); // the last link closed with no run: nothing to stop
        auto peer = std::make_unique<TcpPeer>();
        QVERIFY(protocoladapter::instance().openSerial(pty.slavePath(), "9600"));
        QVERIFY(protocoladapter::instance().connectTcp("127.0.0.1", peer->portText()));
        window.findChild<QComboBox *>("pollSleepBox")->setCurrentText("100");
        withText(&window, "Start Poll", true)->click();
        QVERIFY(peer->waitForBytes(6));
        const QString tcpLink = "TCP link to 127.0.0.1:" + peer->portText();
        peer.reset(); // gone for good: the tries fail and the serial link carries on
        QVERIFY(pty.readAtLeast(6).startsWith("1D"));
        pty.closeMaster();
        QTRY_VERIFY(withText(&window, "Start Poll", true));
        QTRY_COMPARE(notices(&window).size(), 7); // the serial link is being tried as well
        withText(&window, "Start Poll", true)->click();
        QStringList seen = notices(&window).mid(2);
        seen[2] = seen[2].section(':', 0, 0); // the reason a pty gives varies
        QCOMPARE(seen, (QStringList{"TCP link dropped: The remote host closed the connection",
                                    tcpLink + ": trying the link again in the background",
                                    "serial link " + pty.slavePath() + " dropped", "Poll stopped: no link is left",
                                    "serial link " + pty.slavePath() + ": trying the link again in the background",
                                    "Poll not started: no link is open"}));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
