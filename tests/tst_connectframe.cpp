// The connection panel as the operator works it, the widgets and dialogs it is made of,
// and what the operator entered surviving mistakes and a killed program.
#include "config/aliasstore.h"
#include "config/devicestore.h"
#include "config/linkparameters.h"
#include "config/scenestore.h"
#include "link/protocoladapter.h"
#include "setup/cconnectframe.h"
#include "support/answeringpeer.h"
#include "support/modalhelper.h"
#include "support/simprocess.h"
#include "support/tcppeer.h"
#include "support/testenv.h"
#include "widgets/cipedit.h"

#include <QtTest>
#include <QtWidgets>

#include <memory>

namespace {

// One address book element, its members in the order the file keeps them.
QByteArray element(const QString &ip, const QString &port, const QString &alias = QString(), const QString &mac = QString(),
                   const QString &gateway = QStringLiteral("127.0.0.1"), const QString &subnet = QStringLiteral("255.255.255.0"))
{
    return QStringLiteral(R"({"alias":"%1","gateway":"%2","ip":"%3","mac":"%4","port":"%5","subnet":"%6"})")
        .arg(alias, gateway, ip, mac, port, subnet).toUtf8();
}
QByteArray book(const QList<QByteArray> &elements) { return "{\"items\":[" + elements.join(',') + "]}"; }
QByteArray factoryNet(const char *ip, const char *port, const char *alias)
{
    return element(QLatin1String(ip), QLatin1String(port), QString::fromUtf8(alias), QString(), QStringLiteral("192.168.1.1"));
}
// %P is the loopback peer's port; nobody listens on port 1.
const QByteArray A = factoryNet("127.0.0.1", "%P", "Lab"), B = factoryNet("127.0.0.1", "1", "Spare"),
                 C = factoryNet("127.0.0.2", "%P", "Far");

// Right-clicks through the platform; lists the menu's entries ("-": disabled) and chooses pick.
QString rightClickMenu(QWidget *widget, const QPoint &pos, const QString &pick)
{
    QStringList entries;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
            poll.stop();
            const auto actions = menu->actions();
            for (QAction *action : actions)
                entries << (action->isEnabled() ? QString() : QStringLiteral("-")) + action->text();
            menu->close();
            if (QAction *chosen = actions.value(entries.indexOf(QRegularExpression(QRegularExpression::escape(pick) + "(\t.*)?"))))
                chosen->trigger();
        }
    });
    poll.start(10);
    QTest::mouseClick(widget->window()->windowHandle(), Qt::RightButton, Qt::NoModifier, widget->mapTo(widget->window(), pos));
    return entries.join(QLatin1Char(','));
}

// Answers the next dialog: puts text into its field-th Field, or types it wherever the focus is, and presses pressed.
template <class Field = QLineEdit> void answer(const QString &pressed, int field = -1, const QString &text = QString())
{
    answerNextModal([=](QDialog *dialog) {
        if (field >= 0)
            dialog->findChildren<Field *>().at(field)->setText(text);
        for (const QChar key : field < 0 ? text : QString())
            QTest::keyClick(dialog->focusWidget(), key.toLatin1());
        withText(dialog, pressed)->click();
    });
}

// The connection panel, its controls found the way the operator finds them.
struct Panel
{
    Panel()
    {
        for (QGroupBox *group : frame->findChildren<QGroupBox *>())
            (group->title() == QLatin1String("Com Setting") ? com : net) = group;
        netButton = withText(net, QStringLiteral("Connect"));
        serialButton = com->findChild<QPushButton *>();
        frame->show();
        QApplication::setActiveWindow(frame.get());
        QVERIFY(QTest::qWaitForWindowActive(frame.get()));
        netPlace = netButton->geometry();
        serialPlace = serialButton->geometry();
    }

    QComboBox *list(int n) const { return com->findChildren<QComboBox *>().at(n); } // 0 Com, 1 Baud
    QLineEdit *portEdit() const { return net->findChild<QLineEdit *>(QString(), Qt::FindDirectChildrenOnly); }
    QString address() const { return frame->findChild<CIPEdit *>()->text() + ':' + portEdit()->text(); }
    // Both connect buttons, then which of Get, the IP and port fields, the Com and Baud lists are enabled.
    QString state() const
    {
        QString enabled;
        for (const QWidget *w : QList<QWidget *>{withText(net, "Get"), frame->findChild<CIPEdit *>(), portEdit(), list(0), list(1)})
            enabled += QString::number(w->isEnabled());
        // Each button keeps its place whichever text it shows.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        const bool kept = netButton->geometry() == netPlace && serialButton->geometry() == serialPlace;
        return netButton->text() + '/' + serialButton->text() + ' ' + enabled + (kept ? "" : " moved");
    }
    bool ticked(int row) const { return table->model()->index(row, 0).data().toBool(); }
    QPoint centre(int row, int column) const { return table->visualRect(table->model()->index(row, column)).center(); }
    QString menu(int row, const QString &pick) const { return rightClickMenu(table->viewport(), centre(row, 1), pick); }
    // What the platform delivers for a double click: a click, then the second press as a double click.
    void doubleClick(int row, int column) const
    {
        for (QTest::MouseAction action : {QTest::MouseClick, QTest::MouseDClick, QTest::MouseRelease})
            QTest::mouseEvent(action, table->viewport(), Qt::LeftButton, Qt::NoModifier, centre(row, column));
    }
    // Steps, each with the tick after it: L R left/right click on the box, B beside it, C on the IP
    // cell, D double click (its edit dialog cancelled), _ S E the keys Space, Select, Enter.
    void act(int row, const char *script) const
    {
        for (const char *step = script; *step; step += 2) {
            const QPoint box = centre(row, 0);
            if (*step == 'D') {
                answer(QStringLiteral("Cancel"));
                doubleClick(row, 0);
            } else if (strchr("LRBC", *step)) {
                const QPoint at = *step == 'C' ? centre(row, 1) : *step == 'B' ? box - QPoint(8, 0) : box;
                QTest::mouseClick(table->viewport(), *step == 'R' ? Qt::RightButton : Qt::LeftButton, Qt::NoModifier, at);
            } else {
                table->setCurrentIndex(table->model()->index(row, 0));
                QKeyEvent key(QEvent::KeyPress, *step == 'S' ? Qt::Key_Select : *step == 'E' ? Qt::Key_Enter : Qt::Key_Space,
                              Qt::NoModifier);
                QApplication::sendEvent(table, &key);
            }
            QVERIFY2(ticked(row) == (step[1] == '1'), step);
        }
    }

    std::unique_ptr<CConnectFrame> frame = std::make_unique<CConnectFrame>();
    QGroupBox *com = nullptr;
    QGroupBox *net = nullptr;
    QPushButton *netButton = nullptr;
    QPushButton *serialButton = nullptr;
    QRect netPlace, serialPlace; // where the buttons stood when the panel opened
    QTableView *table = frame->findChild<QTableView *>();
};

enum Link { NoLink, Tcp, Serial };

int renameUntilKilled()
{
    SceneStore scenes;
    AliasStore aliases;
    DeviceStore devices;
    for (int round = 1;; ++round) {
        scenes.setSceneName(2, QStringLiteral("场景 %1").arg(round));
        aliases.setInputAlias(4, QStringLiteral("入口 %1").arg(round));
        aliases.setOutputAlias(63, QStringLiteral("出口 %1").arg(round));
        devices.setEntries({{"127.0.0.1", "6800", "", "", "", QStringLiteral("Lab %1").arg(round)}});
        QTextStream(stdout) << round << Qt::endl;
    }
}

} // namespace

class TestConnectFrame : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnv> m_env;
    void writeBook(const QList<QByteArray> &elements) { m_env->writeFile(QStringLiteral("ipmanager"), book(elements)); }
    QByteArray readBook() const { return m_env->readFile(QStringLiteral("ipmanager")); }

private slots:
    void initTestCase()
    {
        m_env = std::make_unique<TestEnv>();
        QGuiApplication::clipboard()->setText(QStringLiteral(" 127.20.30.40\n"));
    }
    void cleanup() { protocoladapter::instance().closeSerial(); protocoladapter::instance().disconnectTcp(); }

    // Only a left click on the box, Space or Select ticks a row; Connect takes the topmost
    // ticked row; a failed connect changes nothing; a link the device drops shows as such.
    void tcpConnectAndTicks()
    {
        TcpPeer first;
        TcpPeer second;
        const QString dead = [] { return TcpPeer().portText(); }();
        writeBook({element("127.0.0.1", first.portText()), element("127.0.0.1", second.portText()), element("127.0.0.1", dead)});
        Panel panel;
        panel.netButton->click();
        panel.act(2, "_1");
        panel.netButton->click();
        QCOMPARE(panel.state(), QStringLiteral("Connect/Connect 01111"));
        // Tab and Shift+Tab pass through the table to the controls beside it.
        for (const auto &[key, next] : {std::pair(Qt::Key_Tab, withText(panel.net, "Add")), std::pair(Qt::Key_Backtab, panel.serialButton)}) {
            panel.table->setFocus();
            QTest::keyClick(panel.table, key);
            QCOMPARE(QApplication::focusWidget(), next);
        }
        QVERIFY(!panel.table->verticalHeader()->isVisible()); // rows carry no numbers: the tick leads
        // A font that comes later, as the application's does, still leaves room for any address.
        panel.table->setFont(QFont(panel.table->font().family(), 28));
        QVERIFY(panel.table->columnWidth(1) > panel.table->fontMetrics().horizontalAdvance("255.255.255.255"));
        panel.act(1, "L1R1B1C1E1");
        QCOMPARE(panel.address(), QString("127.0.0.1:" + second.portText())); // a click shows the row's address
        panel.netButton->click();
        QCOMPARE(panel.state(), QStringLiteral("disconnect/Connect 10011"));
        protocoladapter::instance().sendRaw(QStringLiteral("1D2V2."));
        QVERIFY(second.waitForBytes(6));
        panel.netButton->click();
        QCOMPARE(panel.state(), QStringLiteral("connect/Connect 01111"));
        panel.act(0, "L1L0D1S0S1");
        panel.netButton->click();
        protocoladapter::instance().sendRaw(QStringLiteral("1D1V1."));
        QVERIFY(first.waitForBytes(6));
        first.dropClient();
        QTRY_COMPARE(panel.state(), QStringLiteral("connect/Connect 01111"));
    }

    // Get over serial fills the address fields from the card's answer; a cancelled Setting sends
    // nothing; the serial port and speed chosen are there at the next start.
    void serialGetAndStoredPort()
    {
        SimProcess sim;
        QVERIFY(sim.start({QStringLiteral("--pty")}));
        writeBook({element("127.0.0.1", "9")});
        const auto stored = [this] {
            const QSettings file(m_env->filePath(QStringLiteral("UserData.ini")), QSettings::IniFormat);
            return QString(file.value("Port").toString() + ' ' + file.value("Baud").toString());
        };
        linkParameters().port = QStringLiteral("COM3"); // a name from another system is not offered as typed
        QVERIFY(Panel().list(0)->currentText() != QLatin1String("COM3"));
        {
            Panel panel;
            panel.list(1)->setCurrentText(QStringLiteral("115200"));
            panel.list(0)->setEditText(sim.ptyPath());
            QCOMPARE(stored(), QString(sim.ptyPath() + " 115200")); // on disk at once: a killed program keeps them
            panel.serialButton->click();
            QCOMPARE(panel.state(), QStringLiteral("Connect/disconnect 11100")); // the open port and speed stay as they are
            withText(panel.net, QStringLiteral("Get"))->click();
            QCOMPARE(panel.address(), QString("127.0.0.1:" + sim.portText()));
            QCOMPARE(panel.table->model()->index(0, 2).data().toString(), sim.portText()); // the row of the answer's address
            int editable = 0; // fields outside the three addresses: the card takes nothing else
            answerNextModal([&editable](QDialog *dialog) {
                for (const QLineEdit *field : dialog->findChildren<QLineEdit *>())
                    editable += field->isEnabled() && !qobject_cast<CIPEdit *>(field->parentWidget());
                dialog->findChildren<CIPEdit *>().at(1)->setText(QStringLiteral("255.0.0.0"));
                withText(dialog, QStringLiteral("Cancel"))->click();
            });
            panel.menu(0, "Setting");
            QCOMPARE(editable, 0);
            protocoladapter::instance().sendRaw(QStringLiteral("1BUZON"));
            QVERIFY(sim.waitForCommands(2));
            QCOMPARE(sim.lastCommand().value("text").toString(), QStringLiteral("1BUZON"));
            panel.serialButton->click(); // closed: the port and speed can be chosen again
            QCOMPARE(panel.state(), QStringLiteral("Connect/connect 01111"));
        }
        QCOMPARE(stored(), QString(sim.ptyPath() + " 115200"));
        Panel panel;
        QCOMPARE(QString(panel.list(0)->currentText() + ' ' + panel.list(1)->currentText()), QString(sim.ptyPath() + " 115200"));
    }

    // A name is shown in its row and on disk at once; a row gone while its dialog was open is left alone.
    void setAlias()
    {
        writeBook({element("127.0.0.1", "1", "A"), element("127.0.0.2", "2", "B")});
        Panel panel;
        answer(QStringLiteral("Ok"), 1, QStringLiteral("Lab"));
        panel.menu(1, "Set Alias");
        QCOMPARE(panel.table->model()->index(1, 3).data().toString(), QStringLiteral("Lab"));
        QCOMPARE(readBook(), book({element("127.0.0.1", "1", "A"), element("127.0.0.2", "2", "Lab")}));
        panel.table->model()->setData(panel.table->model()->index(0, 3), QStringLiteral("Desk")); // a cell edited in place
        QCOMPARE(readBook(), book({element("127.0.0.1", "1", "Desk"), element("127.0.0.2", "2", "Lab")}));
        answerNextModal([&panel](QDialog *dialog) {
            withText(panel.net, QStringLiteral("Clear"))->click();
            QVERIFY(!dialog->findChildren<QLineEdit *>().at(0)->isEnabled()); // the old name is shown, not edited
            dialog->findChildren<QLineEdit *>().at(1)->setText(QStringLiteral("Gone"));
            withText(dialog, QStringLiteral("Ok"))->click();
        });
        panel.menu(1, "Set Alias");
        QCOMPARE(panel.table->model()->rowCount(), 0);
        QCOMPARE(readBook(), QByteArray(R"({"items":[]})"));
    }

    // Every change to the list reaches the address book at exit.
    void editTheList()
    {
        const QByteArray c = element("127.0.0.3", "3", "C");
        writeBook({element("127.0.0.1", "1", "A"), element("127.0.0.2", "2", "B"), c});
        {
            Panel panel;
            QCOMPARE(panel.menu(0, "Down"), QStringLiteral("Setting,Reset,Delete,Set Alias,-Up,Down"));
            QCOMPARE(panel.menu(2, "Up"), QStringLiteral("Setting,Reset,Delete,Set Alias,Up,-Down"));
            panel.menu(0, "Delete");
            QCOMPARE(panel.table->model()->rowCount(), 2);

            // The alias dialog offers the row's name; a name left empty falls back to the address.
            answer(QStringLiteral("Ok"), 1, QString());
            panel.menu(1, "Set Alias");
            answer(QStringLiteral("Ok"));
            panel.menu(0, "Set Alias");

            // OK needs three dotted quads: while a field holds none, the dialog stays open.
            QList<bool> stayedOpen;
            answerNextModal([&stayedOpen](QDialog *dialog) {
                for (const char *tried : {"1.2.3 1.1.1.1 1.1.1.1", "1.1.1.1 1.1.1.1 256.1.1.1", "127.000.000.001 255.0.255.1 0.0.0.0"}) {
                    for (int i = 0; i < 3; ++i)
                        dialog->findChildren<CIPEdit *>().at(i)->setText(QString::fromLatin1(tried).section(' ', i, i));
                    withText(dialog, QStringLiteral("OK"))->click();
                    stayedOpen << dialog->isVisible();
                }
            });
            withText(panel.net, QStringLiteral("Add"))->click();
            QCOMPARE(stayedOpen, QList<bool>({true, true, false}));

            // Editing: OK without a change keeps the name; a new address is taken. Typing starts in the first part
            // each time the dialog opens.
            answer(QStringLiteral("OK"), -1, QStringLiteral("127.0.0.3"));
            panel.doubleClick(0, 2);
            answer(QStringLiteral("OK"), -1, QStringLiteral("127.0.0.9"));
            panel.doubleClick(2, 3);
            QCOMPARE(panel.table->model()->index(2, 1).data().toString(), QStringLiteral("127.0.0.9"));
            QVERIFY(readBook().contains("\"ip\":\"127.0.0.9\"")); // on disk at once
        }
        QCOMPARE(readBook(), book({c, element("127.0.0.1", "1", "127.0.0.1"),
                                   element("127.0.0.9", "6800", QString(), QString(), "0.0.0.0", "255.0.255.1")}));
        {
            Panel panel;
            withText(panel.net, QStringLiteral("All"))->click();
            QVERIFY(panel.ticked(0) && panel.ticked(1) && panel.ticked(2));
            QCOMPARE(panel.table->selectionModel()->selectedRows().size(), 3);
            withText(panel.net, QStringLiteral("Clear"))->click();
            QCOMPARE(panel.table->model()->rowCount(), 0);
        }
        QCOMPARE(readBook(), QByteArray(R"({"items":[]})"));
    }

    void deviceList_data()
    {
        for (const char *column : {"action", "ipKeys", "portKeys"})
            QTest::addColumn<QString>(column);
        QTest::addColumn<int>("link");
        QTest::addColumn<int>("row");
        QTest::addColumn<QByteArray>("wire");
        QTest::addColumn<QByteArray>("stored");
        // A dialog gets these keys in its address ("^" is Shift, "<" Shift+Tab, "v" and the menu's Paste "m" paste
        // " 127.20.30.40\n") and
        // port. A part ends at three digits, or two from 26 on; a part emptied and left gets its text back.
        const auto row = [](auto tag, auto act, auto ip, auto port, Link link, int at,
                            const QByteArray &wire) -> QTestData & {
            return QTest::newRow(tag) << act << ip << port << int(link) << at << wire;
        };
        const auto added = [](const char *ip, const char *port) { return book({A, B, C, factoryNet(ip, port, "")}); };
        const QByteArray same = book({A, B, C}), hws = "HWS127.0.0.1.255.255.255.0.192.168.1.1";
        row("Setting, no link", "Setting", "127.0.0.1", "9", NoLink, 0, "") << same;
        row("Reset, no link", "Reset", "", "", NoLink, 0, "") << same;
        row("Setting, TCP, its row", "Setting", "127.0.0.1", "9", Tcp, 0, hws) << same;
        row("Reset, TCP, its row", "Reset", "", "", Tcp, 0, "HWR") << book({factoryNet("192.168.1.168", "6800", "Lab"), B, C});
        row("Setting, TCP, other port", "Setting", "127.0.0.1", "9", Tcp, 1, "PING") << same;
        row("Reset, TCP, other ip", "Reset", "", "", Tcp, 2, "PING") << same;
        row("Setting, serial", "Setting", "127.0.0.1", "9", Serial, 2, hws + "PING")
            << book({A, B, factoryNet("127.0.0.1", "%P", "Far")});
        row("Reset, serial", "Reset", "", "", Serial, 1, "HWRPING") << book({A, factoryNet("192.168.1.168", "6800", "Spare"), C});
        row("Get keeps the name", "Get", "", "", Tcp, 0, "HWCPING") << book({factoryNet("127.0.0.2", "6801", "Lab"), B, C});
        row("Down takes the tick", "Down", "", "", NoLink, 0, "PING") << book({B, A, C});
        row("Up takes the tick", "Up", "", "", NoLink, 1, "PING") << book({B, A, C});
        row("Add, a peer's port", "Add", "127.0.0.1", "%P", NoLink, 3, "PING") << added("127.0.0.1", "%P");
        row("Add, a second period moves", "Add", "127..0.1", "65536", NoLink, 3, "") << added("127.168.0.1", "6553");
        row("Add, shift keeps, a digit ends", "Add", "127^.2551.1", "1", NoLink, 3, "") << added("127.255.1.1", "1");
        row("Add, 26 ends a part, emptied", "Add", "251269.1.5<\b\t", "1", NoLink, 3, "") << added("251.26.9.15", "1");
        row("Add, pasted whole", "Add", "v", "65535", NoLink, 3, "") << added("127.20.30.40", "65535");
        row("Add, pasted whole from the menu", "Add", "m", "1", NoLink, 3, "") << added("127.20.30.40", "1");
        row("Add, 0 is no port", "Add", "127.0.0.1", "\b0", NoLink, 3, "") << same;
    }
    void deviceList()
    {
        QFETCH(QString, action);
        QFETCH(QString, ipKeys);
        QFETCH(QString, portKeys);
        QFETCH(int, link);
        QFETCH(int, row);
        QFETCH(QByteArray, wire);
        AnsweringPeer tcp(AnsweringPeer::Tcp), pty(AnsweringPeer::Pty);
        QVERIFY(tcp.startPeer() && pty.startPeer());
        tcp.setAnswer("HWC", "HNW127.0.0.2,6801,255.255.255.0,192.168.1.1,");
        m_env->writeFile("ipmanager", book({A, B, C}).replace("%P", tcp.portText().toUtf8()));
        auto panel = std::make_unique<Panel>();
        QTableView *table = panel->table;
        // Connect goes to the topmost tick: after Add, the new row's.
        table->model()->setData(table->model()->index(0, 0), action != "Add");
        if (link == Tcp)
            panel->netButton->click();
        if (link == Serial)
            QVERIFY(protocoladapter::instance().openSerial(pty.portName(), "9600"));
        QTimer answer;
        connect(&answer, &QTimer::timeout, [&] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isActiveWindow())
                return;
            for (const QChar key : ipKeys) {
                if (key == 'm')
                    rightClickMenu(dialog->focusWidget(), QPoint(5, 5), "&Paste");
                else if (key == '^' || key == '<')
                    QTest::keyClick(dialog->focusWidget(), key == '^' ? Qt::Key_Shift : Qt::Key_Backtab);
                else
                    QTest::keyClick(dialog->focusWidget(), key.toLatin1(), key == 'v' ? Qt::ControlModifier : Qt::NoModifier);
            }
            auto *port = dialog->findChildren<QLineEdit *>(QString(), Qt::FindDirectChildrenOnly).at(0);
            port->selectAll();
            QTest::keyClicks(port, portKeys.replace("%P", tcp.portText()));
            withText(dialog, "OK")->click();
            if (dialog->isVisible())
                withText(dialog, "Cancel")->click();
        });
        answer.start(10);
        action == "Get" || action == "Add" ? withText(panel->net, action)->click() : void(panel->menu(row, action));
        table->model()->setData(table->model()->index(3, 0), true);
        if (link == NoLink && !wire.isEmpty())
            panel->netButton->click();
        protocoladapter::instance().sendRaw("PING"); // nothing else went out if this comes next
        QTRY_COMPARE((link == Serial ? pty : tcp).received(), wire);
        // On disk at once, and the same after exit.
        QByteArray stored = m_env->readFile("ipmanager");
        panel.reset();
        QCOMPARE(m_env->readFile("ipmanager"), stored);
        QTEST(stored.replace(tcp.portText().toUtf8(), "%P"), "stored");
    }

    // Killed at any moment after a rename, every file reads back whole with it.
    void killedRightAfterRenames()
    {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {"--rename-until-killed"});
        QVERIFY(child.waitForReadyRead(10000));
        child.kill();
        QVERIFY(child.waitForFinished());
        SceneStore scenes;
        AliasStore aliases;
        DeviceStore devices;
        QVERIFY(scenes.sceneName(2).mid(3).toInt() > 0);
        QVERIFY(aliases.inputAlias(4).mid(3).toInt() > 0);
        QVERIFY(aliases.outputAlias(63).mid(3).toInt() > 0);
        QVERIFY(devices.entries().value(0).alias.mid(4).toInt() > 0);
    }
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    TestConnectFrame test;
    return app.arguments().contains("--rename-until-killed") ? renameUntilKilled() : QTest::qExec(&test, argc, argv);
}
#include "tst_connectframe.moc"
