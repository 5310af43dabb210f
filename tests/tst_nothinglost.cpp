#include "config/aliasstore.h"
#include "config/devicestore.h"
#include "config/scenestore.h"
#include "link/protocoladapter.h"
#include "setup/cconnectframe.h"
#include "support/answeringpeer.h"
#include "support/testenv.h"
#include "widgets/cipedit.h"

#include <QtTest>
#include <QtWidgets>

namespace {

enum Link { NoLink, Tcp, Serial };

QByteArray element(const char *ip, const char *port, const char *alias)
{
    return QStringLiteral(R"({"alias":"%1","gateway":"192.168.1.1","ip":"%2","mac":"","port":"%3",)"
                          R"("subnet":"255.255.255.0"})").arg(alias, ip, port).toUtf8();
}
QByteArray book(const QByteArrayList &rows) { return "{\"items\":[" + rows.join(',') + "]}"; }
// %P is the loopback peer's port; nobody listens on port 1.
const QByteArray A = element("127.0.0.1", "%P", "Lab"), B = element("127.0.0.1", "1", "Spare"),
                 C = element("127.0.0.2", "%P", "Far"), Factory = element("192.168.1.168", "6800", "");

// The last one with this text: the net side's Connect comes after the serial one.
QPushButton *button(QWidget *root, const QString &text)
{
    const QList<QPushButton *> all = root->findChildren<QPushButton *>();
    return *std::find_if(all.rbegin(), all.rend(), [&](QPushButton *button) { return button->text() == text; });
}

void pick(QTableView *table, int row, const QString &entry)
{
    const QPoint at = table->visualRect(table->model()->index(row, 1)).center();
    QTest::mouseClick(table->viewport(), Qt::RightButton, Qt::NoModifier, at);
    QTimer::singleShot(0, [entry] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        for (QAction *action : menu ? menu->actions() : QList<QAction *>())
            menu->setActiveAction(action->text() == entry ? action : menu->activeAction());
        QTest::keyClick(menu, Qt::Key_Return);
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, table->viewport()->mapToGlobal(at));
    QApplication::sendEvent(table->viewport(), &event);
}

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

class TestNothingLost : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_env = std::make_unique<TestEnv>(); QGuiApplication::clipboard()->setText(" 127.20.30.40\n"); }
    void cleanup() { protocoladapter::instance().disconnectTcp(); protocoladapter::instance().closeSerial(); }

    void deviceList_data()
    {
        for (const char *column : {"action", "ipKeys", "portKeys"})
            QTest::addColumn<QString>(column);
        QTest::addColumn<int>("link");
        QTest::addColumn<int>("row");
        QTest::addColumn<QByteArray>("wire");
        QTest::addColumn<QByteArray>("stored");
        // A dialog gets these keys in its address ("^" is Shift, "v" pastes " 127.20.30.40\n") and port.
        const auto row = [](auto tag, auto act, auto ip, auto port, Link link, int at,
                            const QByteArray &wire) -> QTestData & {
            return QTest::newRow(tag) << act << ip << port << int(link) << at << wire;
        };
        const auto added = [](const char *ip, const char *port) { return book({A, B, C, element(ip, port, "")}); };
        const QByteArray same = book({A, B, C}), hws = "HWS127.0.0.1.255.255.255.0.192.168.1.1";
        row("Setting, no link", "Setting", "127.0.0.1", "9", NoLink, 0, "") << same;
        row("Reset, no link", "Reset", "", "", NoLink, 0, "") << same;
        row("Setting, TCP, its row", "Setting", "127.0.0.1", "9", Tcp, 0, hws) << same;
        row("Reset, TCP, its row", "Reset", "", "", Tcp, 0, "HWR") << book({Factory, B, C});
        row("Setting, TCP, other port", "Setting", "127.0.0.1", "9", Tcp, 1, "PING") << same;
        row("Reset, TCP, other ip", "Reset", "", "", Tcp, 2, "PING") << same;
        row("Setting, serial", "Setting", "127.0.0.1", "9", Serial, 2, hws + "PING")
            << book({A, B, element("127.0.0.1", "%P", "Far")});
        row("Reset, serial", "Reset", "", "", Serial, 1, "HWRPING") << book({A, Factory, C});
        row("Get keeps the name", "Get", "", "", Tcp, 0, "HWCPING") << book({A, B, element("127.0.0.2", "6801", "Far")});
        row("Down takes the tick", "Down", "", "", NoLink, 0, "PING") << book({B, A, C});
        row("Up takes the tick", "Up", "", "", NoLink, 1, "PING") << book({B, A, C});
        row("Add, a peer's port", "Add", "127.0.0.1", "%P", NoLink, 3, "PING") << added("127.0.0.1", "%P");
        row("Add, a second period moves", "Add", "127..0.1", "65536", NoLink, 3, "") << added("127.168.0.1", "6553");
        row("Add, shift keeps, a digit ends", "Add", "127^.2551.1", "1", NoLink, 3, "") << added("127.255.1.1", "1");
        row("Add, pasted whole", "Add", "v", "65535", NoLink, 3, "") << added("127.20.30.40", "65535");
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
        auto frame = std::make_unique<CConnectFrame>();
        frame->show();
        QVERIFY(QTest::qWaitForWindowActive(frame.get()));
        auto *table = frame->findChild<QTableView *>();
        // Connect goes to the topmost tick: after Add, the new row's.
        table->model()->setData(table->model()->index(0, 0), action != "Add");
        if (link == Tcp)
            button(frame.get(), "Connect")->click();
        if (link == Serial)
            QVERIFY(protocoladapter::instance().openSerial(pty.portName(), "9600"));
        QTimer answer;
        connect(&answer, &QTimer::timeout, [&] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isActiveWindow())
                return;
            dialog->findChild<CIPEdit *>()->findChild<QLineEdit *>()->setFocus();
            for (const QChar key : ipKeys)
                QTest::keyClick(dialog->focusWidget(), key == '^' ? Qt::Key_Shift : Qt::Key(key.toUpper().unicode()),
                                key == 'v' ? Qt::ControlModifier : Qt::NoModifier);
            auto *port = dialog->findChildren<QLineEdit *>(QString(), Qt::FindDirectChildrenOnly).at(0);
            port->selectAll();
            QTest::keyClicks(port, portKeys.replace("%P", tcp.portText()));
            button(dialog, "OK")->click();
            if (dialog->isVisible())
                button(dialog, "Cancel")->click();
        });
        answer.start(10);
        action == "Get" || action == "Add" ? button(frame.get(), action)->click() : pick(table, row, action);
        table->model()->setData(table->model()->index(3, 0), true);
        if (link == NoLink && !wire.isEmpty())
            button(frame.get(), "Connect")->click();
        protocoladapter::instance().sendRaw("PING"); // nothing else went out if this comes next
        QTRY_COMPARE((link == Serial ? pty : tcp).received(), wire);
        // On disk at once, and the same after exit.
        QByteArray stored = m_env->readFile("ipmanager");
        frame.reset();
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

private:
    std::unique_ptr<TestEnv> m_env;
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    TestNothingLost test;
    return app.arguments().contains("--rename-until-killed") ? renameUntilKilled() : QTest::qExec(&test, argc, argv);
}

#include "tst_nothinglost.moc"
