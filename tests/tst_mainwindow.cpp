#include "app/ctitleframe.h"
#include "app/mainwindow.h"
#include "config/linkparameters.h"
#include "link/protocoladapter.h"
#include "panels/cswitcherframe.h"
#include "support/modalhelper.h"
#include "support/ptypair.h"
#include "support/simprocess.h"
#include "support/tcppeer.h"
#include "support/testenv.h"
#include "widgets/buttonwithmenu.h"
#include "widgets/checkboxwithmenu.h"

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
    SimProcess m_sim;
    int m_commands = 0;

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

    // Get takes the simulator's answer at once, into the row of the linked device (over TCP the one linked to, over the
    // serial port the first with the answer's address), and no event runs while the link waits for it.
    void getFromSim_data()
    {
        QTest::addColumn<bool>("tcp");
        QTest::addColumn<QString>("ports"); // of the two rows after Get
        QTest::newRow("TCP") << true << "1 %P";
        QTest::newRow("serial") << false << "%P %P";
    }
    void getFromSim()
    {
        QFETCH(bool, tcp);
        linkParameters().langType = 2;
        SimProcess sim;
        QVERIFY(sim.start({"--pty"}));
        m_env.writeFile("ipmanager", QString(R"({"items":[{"ip":"127.0.0.1","port":"1"},{"ip":"127.0.0.1","port":"%1"}]})").arg(sim.portText()).toLatin1());
        MainWindow window;
        window.show();
        QTableView *devices = window.findChild<QTableView *>();
        devices->model()->setData(devices->model()->index(1, 0), true);
        window.findChild<QComboBox *>()->setEditText(sim.ptyPath());
        for (QGroupBox *group : window.findChildren<QGroupBox *>())
            if (group->title() == (tcp ? "Net Setting" : "Com Setting"))
                withText(group, "Connect")->click();
        bool ran = false;
        QTimer::singleShot(0, &window, [&ran] { ran = true; });
        withText(&window, "Get")->click(); // the answer, not the 30 s wait for one, ends the click
        QVERIFY(!ran);
        const QString ports = devices->model()->index(0, 2).data().toString() + ' ' + devices->model()->index(1, 2).data().toString();
        QTEST(QString(ports).replace(sim.portText(), "%P"), "ports");
        protocoladapter::instance().closeSerial();
        protocoladapter::instance().disconnectTcp();
    }

    // A damaged file: what it held wrong in the console, safe values in the window, the first command as it should be.
    void damagedFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("shown"); // input 1 | scene 1 | switching type
        QTest::addColumn<QString>("notices"); // <dir>: the working directory
        QTest::addColumn<QString>("sent"); // by inputs 1 and 2, output 2 and Switch
        const QString fresh = QStringLiteral("输入通道 1|1|All");
        QTest::newRow("numbers out of range") << "UserData.ini" << QByteArray("[General]\nid=abc\naudio=7\nPollSleep=150\n") << fresh
            << "UserData.ini holds id=abc, which is no whole number from 0 to 999: 1 is used\n"
               "UserData.ini holds audio=7, which is no whole number from 0 to 3: 0 is used\n"
               "UserData.ini holds PollSleep=150, which is not among its choices: 100 is used" << "1D2V2.";
        QTest::newRow("numbers in range") << "UserData.ini" << QByteArray("[General]\nid=12\naudio=1\n") << "输入通道 1|1|Video" << "" << "12D2V2.";
        QTest::newRow("names cut short") << "AliasConfig.ini" << QByteArray("[InputAlias]\n1=\xe8\xbe") << fresh
            << "AliasConfig.ini is damaged; names it lost take their defaults; the file is kept as AliasConfig.ini.bad" << "1D2V2.";
        QTest::newRow("scene names lost, one empty") << "SceneConfig.ini" << QByteArray("[SceneConfig]\n1=\n") << "输入通道 1||All"
            << "SceneConfig.ini is damaged; names it lost take their defaults; the file is kept as SceneConfig.ini.bad" << "1D2V2.";
        QTest::newRow("address book no JSON") << "ipmanager" << QByteArray("{\"items\":[") << fresh
            << "<dir>/ipmanager is not a valid JSON address book; the device list starts empty and the file stays as it is "
               "until the list changes; a copy is kept as <dir>/ipmanager.bad" << "1D2V2.";
    }

    void damagedFiles()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, content);
        QFETCH(QString, notices);
        if (!m_sim.port())
            QVERIFY(m_sim.start() && protocoladapter::instance().connectTcp("127.0.0.1", m_sim.portText()));
        const TestEnv env(true);
        env.writeFile(file, content);
        linkParameters() = readLinkParameters();
        linkParameters().langType = 2;
        {
            MainWindow window;
            const QList<CheckBoxWithMenu *> tiles = window.findChildren<CheckBoxWithMenu *>(); // inputs first
            QTEST(QStringList({tiles.at(0)->toolTip(), window.findChild<ButtonWithMenu *>()->toolTip(),
                               window.findChildren<QRadioButton *>().at(linkParameters().audio)->text()}).join('|'), "shown");
            for (QAbstractButton *button : QList<QAbstractButton *>{tiles.at(0), tiles.at(1), tiles.at(17), withText(&window, "Switch")})
                button->click();
            QVERIFY(m_sim.waitForCommands(++m_commands));
            QTEST(m_sim.lastCommand().value("text").toString(), "sent");
            withText(&window, "Setting")->click();
            QCOMPARE(::notices(&window).join('\n'), notices.replace("<dir>", QDir::currentPath()));
        }
        QCOMPARE(env.readFile(file + ".bad"), notices.contains("kept as") ? content : QByteArray());
        QVERIFY(file != "ipmanager" || env.readFile(file) == content); // left as it was, the list not changed
    }

    // Qt's own reasons in failure lines follow the language chosen.
    void qtTextsFollowTheLanguage()
    {
        QTcpSocket refusing; // bound and never listening
        QVERIFY(refusing.bind(QHostAddress::LocalHost, 0, QAbstractSocket::DontShareAddress));
        linkParameters().langType = 1;
        MainWindow window;
        QStringList reasons;
        for (const int code : {-1, 2, 0}) {
            if (code >= 0)
                appMenu(&window)->actions().first()->menu()->actions().at(code)->trigger();
            QVERIFY(!protocoladapter::instance().connectTcp("127.0.0.1", QString::number(refusing.localPort())));
            reasons << notices(&window).last().section(QRegularExpression("[:：]"), -1).trimmed();
        }
        QCOMPARE(reasons, (QStringList{"連線被拒", "Connection refused", "连接被拒绝"}));
    }

    // Failures and buttons that send nothing reach the console as notices, with the reason; Connect names the row it
    // takes of several. The cursor shows a blocking wait. With both links open the console tells which one carries the
    // commands. A poll run goes on over the link that is left and stops with the last one, and starts on none.
    void operatorSeesFailures()
    {
        linkParameters().langType = 2;
        linkParameters().matrixId = 1;
        QTcpSocket refusing; // bound and never listening
        QVERIFY(refusing.bind(QHostAddress::LocalHost, 0, QAbstractSocket::DontShareAddress));
        m_env.writeFile("ipmanager", QString(R"({"items":[{"ip":"127.0.0.1","port":"%1"},{"ip":"127.0.0.1","port":"1"}]})")
                                         .arg(refusing.localPort()).toLatin1());
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
        // Buttons that send nothing say why.
        const QList<QCheckBox *> channels = window.findChild<CSwitcherFrame *>()->findChildren<QCheckBox *>(); // inputs, outputs
        for (const char *step : {"Switch", "Write", "i1", "Switch", "Switch All", "o1", "o2", "Write"})
            islower(*step) ? channels.at(atoi(step + 1) - 1 + (*step == 'o') * 16)->click() : withText(&window, step)->click();
        QPushButton *connectNet = nullptr;
        for (QPushButton *connectButton : window.findChildren<QPushButton *>())
            if (connectButton->text() == "Connect")
                (connectNet = connectButton)->click(); // Com, then Net with no row ticked
        QAbstractItemModel *devices = window.findChild<QTableView *>()->model();
        devices->setData(devices->index(0, 0), true);
        connectNet->click(); // one row ticked: no word about the others
        devices->setData(devices->index(1, 0), true);
        connectNet->click();
        const QString refused = "127.0.0.1:" + QString::number(refusing.localPort());
        QCOMPARE(notices(&window), (QStringList{"Switch not sent: no input is ticked", "Write not sent: no input is ticked",
                                                "Switch not sent: no output is ticked", "1D01TOALL. not sent: no link is open",
                                                "Write not sent: 2 outputs are ticked, one is wanted",
                                                "can't open port " + taken.slavePath() + ": Permission error while locking the device",
                                                "Connect: no row is ticked", "can't connect to " + refused + ": Connection refused",
                                                "2 rows are ticked: connecting to the topmost, " + refused,
                                                "can't connect to " + refused + ": Connection refused"}));
        QCOMPARE(cursors.join(' '), "13 0-1 13 0-1");

        withText(&window, "Setting", true)->click();
        QVERIFY(protocoladapter::instance().openSerial(pty.slavePath(), "9600"));
        protocoladapter::instance().closeSerial(); // the last link closed with no run: nothing to stop
        auto peer = std::make_unique<TcpPeer>();
        QVERIFY(protocoladapter::instance().openSerial(pty.slavePath(), "9600"));
        QVERIFY(protocoladapter::instance().connectTcp("127.0.0.1", peer->portText()));
        window.findChild<QComboBox *>("pollSleepBox")->setCurrentText("100");
        withText(&window, "Start Poll", true)->click();
        QVERIFY(peer->waitForBytes(6));
        const QString tcpAddress = "TCP 127.0.0.1:" + peer->portText(), tcpLink = "TCP link to 127.0.0.1:" + peer->portText();
        peer.reset(); // gone for good: the tries fail and the serial link carries on
        QVERIFY(pty.readAtLeast(6).startsWith("1D"));
        pty.closeMaster();
        QTRY_VERIFY(withText(&window, "Start Poll", true));
        QTRY_COMPARE(notices(&window).size(), 17); // the serial link is being tried as well
        withText(&window, "Start Poll", true)->click();
        QStringList seen = notices(&window).mid(10);
        seen[4] = seen[4].section(':', 0, 0); // the reason a pty gives varies
        QCOMPARE(seen, (QStringList{"commands go out on " + tcpAddress, "TCP link dropped: The remote host closed the connection",
                                    "commands go out on the serial port " + pty.slavePath(),
                                    tcpLink + ": trying the link again in the background",
                                    "serial link " + pty.slavePath() + " dropped", "Poll stopped: no link is left",
                                    "serial link " + pty.slavePath() + ": trying the link again in the background",
                                    "Poll not started: no link is open"}));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
