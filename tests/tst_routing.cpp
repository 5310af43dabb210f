#include "app/mainwindow.h"
#include "config/linkparameters.h"
#include "link/linkkeeper.h"
#include "link/protocoladapter.h"
#include "link/routecommand.h"
#include "support/modalhelper.h"
#include "support/ptypair.h"
#include "support/simprocess.h"
#include "support/testenv.h"

#include <QtTest>
#include <QtWidgets>

#include <functional>
#include <memory>

namespace {

QGroupBox *group(QWidget *root, const QString &title)
{
    for (QGroupBox *box : root->findChildren<QGroupBox *>())
        if (box->title() == title)
            return box;
    return nullptr;
}

QAbstractButton *channel(QWidget *root, const QString &title, int n)
{
    return group(root, title)->findChildren<QAbstractButton *>().at(n - 1);
}

QTableView *openRouting(QWidget *window)
{
    withText<QAction>(window, "Routing")->trigger();
    return window->findChild<QTableView *>("routingView");
}

// Per output the input its row has checked, "?" for a row without check states.
QString shown(QTableView *view)
{
    QStringList rows;
    for (int row = 0; row < view->model()->rowCount(); ++row) {
        QString carried = "?";
        for (int column = 0; column < view->model()->columnCount(); ++column) {
            const QVariant state = view->model()->index(row, column).data(Qt::CheckStateRole);
            if (state.isValid() && carried == "?")
                carried = "-";
            if (state.toInt() == Qt::Checked)
                carried = QString::number(column + 1);
        }
        rows << carried;
    }
    return rows.join(' ');
}

QStringList notices(QWidget *window)
{
    const QStringList lines = window->findChild<QTextEdit *>("textLog")->toPlainText().split('\n').filter(" [!] ");
    return QStringList(lines).replaceInStrings(QRegularExpression("^.* \\[!\\] "), QString());
}

void connectNet(QWidget *window, const QString &port)
{
    auto *devices = window->findChild<QTableView *>();
    devices->model()->setData(devices->model()->index(0, 0), true);
    QVERIFY(withText(group(window, "Net Setting"), "Connect"));
    withText(group(window, "Net Setting"), "Connect")->click();
    QVERIFY(protocoladapter::instance().isTcpLinkTo("127.0.0.1", port));
}

} // namespace

class TestRouting : public QObject
{
    Q_OBJECT

    TestEnv m_env{true};

private slots:
    void initTestCase()
    {
        linkParameters().langType = 2;
        linkParameters().matrixId = 1;
    }

    void cleanup()
    {
        protocoladapter::instance().closeSerial();
        protocoladapter::instance().disconnectTcp();
    }

    // A command as it went to the wire, read for the matrix with ID 1.
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("read"); // kind input outputs scene
        QTest::newRow("route") << "1D3V2,5." << "1 3 2,5 0";
        QTest::newRow("unaddressed") << "3V5." << "1 3 5 0";
        QTest::newRow("other matrix") << "2D3V5." << "0 0  0";
        QTest::newRow("to all") << "1D03TOALL." << "2 3  0";
        QTest::newRow("one by one") << "TOONE." << "3 0  0";
        QTest::newRow("save") << "1SAVE12" << "4 0  12";
        QTest::newRow("call") << "CALL2" << "5 0  2";
        QTest::newRow("unterminated") << "1D3V5" << "0 0  0";
        QTest::newRow("trailing text") << "1D3V5.x" << "0 0  0";
        QTest::newRow("edid") << "1D5E3." << "0 0  0";
    }
    void parse()
    {
        QFETCH(QString, text);
        QFETCH(QString, read);
        const RouteCommand command = RouteCommand::parse(text, 1);
        QStringList outputs;
        for (int output : command.outputs)
            outputs << QString::number(output);
        QCOMPARE(QString("%1 %2 %3 %4").arg(command.kind).arg(command.input).arg(outputs.join(',')).arg(command.scene),
                 read);
    }

    // Every route the window sends shows in the crosspoints, the crosspoints route as the switcher does, and the
    // routing is on disk the moment it changes, so a killed program restarts with it.
    void crosspoint()
    {
        m_env.writeFile("AppConfig.ini", "[General]\nincount=4\noutcount=4\n");
        SimProcess sim;
        QVERIFY(sim.start({"--inputs", "4", "--outputs", "4"}));
        m_env.writeFile("ipmanager", QString(R"({"items":[{"ip":"127.0.0.1","port":"%1"}]})").arg(sim.port()).toLatin1());
        auto window = std::make_unique<MainWindow>();
        window->show();
        connectNet(window.get(), sim.portText());
        QTableView *view = openRouting(window.get());
        QTRY_VERIFY(view->isVisible());
        QCOMPARE(shown(view), "? ? ? ?");

        auto click = [view](int row, int column) {
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(row, column)).center());
        };
        auto type = [&](const QString &text) {
            window->findChild<QLineEdit *>("commandEdit")->setText(text);
            withText(window.get(), "send")->click();
        };
        const struct { std::function<void()> act; const char *wire; const char *shown; } steps[] = {
            {[&] { click(2, 3); }, "1D4V3.", "? ? 4 ?"},
            {[&] { view->setCurrentIndex(view->model()->index(0, 1)); QTest::keyClick(view, Qt::Key_Space); }, "1D2V1.", "2 ? 4 ?"},
            {[&] { for (auto at : {std::make_pair("Matrix In", 1), {"Matrix Out", 2}, {"Matrix Out", 4}})
                       channel(window.get(), at.first, at.second)->click();
                   withText(window.get(), "Switch")->click(); }, "1D1V2,4.", "2 1 4 1"},
            {[&] { group(window.get(), "Scene Save")->findChildren<QPushButton *>().at(0)->click(); }, "1SAVE1", "2 1 4 1"},
            {[&] { withText(window.get(), "One By One")->click(); }, "1TOONE.", "1 2 3 4"},
            {[&] { withText(window.get(), "Setting")->click();
                   for (auto box : {std::make_pair("pollInBeginBox", "3"), {"pollInEndBox", "3"}, {"pollOutBeginBox", "2"},
                                    {"pollOutEndBox", "2"}, {"pollSleepBox", "1000"}})
                       window->findChild<QComboBox *>(box.first)->setCurrentText(box.second);
                   withText(window.get(), "Start Poll")->click(); }, "1D3V2.", "1 3 3 4"},
            {[&] { withText(window.get(), "Stop Poll")->click();
                   group(window.get(), "Scene Load")->findChildren<QPushButton *>().at(0)->click(); }, "1CALL1", "2 1 4 1"},
            {[&] { group(window.get(), "Scene Load")->findChildren<QPushButton *>().at(1)->click(); }, "1CALL2", "? ? ? ?"},
            {[&] { type("1D2V3,4."); }, "1D2V3,4.", "? ? 2 2"},
            {[&] { type("2D1V1."); type("1D03TOALL."); }, "1D03TOALL.", "3 3 3 3"},
            {[&] { type("1D1V1."); }, "1D1V1.", "1 3 3 3"},
        };
        int count = 0;
        for (const auto &step : steps) {
            step.act();
            count += QString(step.wire).startsWith("1D03") ? 2 : 1;
            QVERIFY(sim.waitForCommands(count));
            QCOMPARE(sim.lastCommand().value("text").toString(), QString(step.wire));
            QCOMPARE(shown(view), QString(step.shown));
        }
        // A header tells its channel by name and number, as a screen reader reads it.
        const QString output3 = view->model()->headerData(2, Qt::Vertical, Qt::AccessibleTextRole).toString();
        QVERIFY2(output3.endsWith(" (3)"), qPrintable(output3));
        QVERIFY(view->model()->headerData(1, Qt::Horizontal, Qt::ToolTipRole).toString().endsWith(" (2)"));
        // What a kill -9 would leave behind, read while the program runs.
        QCOMPARE(m_env.readFile("RouteState.json"), QByteArray(R"({"inputs":4,"outputs":4,"routing":[1,3,3,3]})"));
        protocoladapter::instance().disconnectTcp();
        click(0, 0); // no link: a notice, nothing sent
        QCOMPARE(notices(window.get()).last(), "1 to 1 not sent: no link is open");

        window = std::make_unique<MainWindow>();
        window->show();
        view = openRouting(window.get());
        QCOMPARE(shown(view), "1 3 3 3");
        connectNet(window.get(), sim.portText());
        group(window.get(), "Scene Load")->findChildren<QPushButton *>().at(0)->click();
        QVERIFY(sim.waitForCommands(++count));
        QCOMPARE(shown(view), "2 1 4 1");
        m_env.writeFile("AppConfig.ini", "");
    }

    // A link that the device dropped comes back by itself without the window ever waiting on it; a run that
    // stopped with it stays stopped; the operator's Disconnect ends the tries.
    void reconnectTcp()
    {
        SimProcess sim;
        QVERIFY(sim.start());
        const QStringList samePort = {"--listen", "127.0.0.1:" + sim.portText()};
        m_env.writeFile("ipmanager", QString(R"({"items":[{"ip":"127.0.0.1","port":"%1"}]})").arg(sim.port()).toLatin1());
        MainWindow window;
        window.show();
        connectNet(&window, sim.portText());
        withText(&window, "Setting")->click();
        window.findChild<QComboBox *>("pollSleepBox")->setCurrentText("100");
        withText(&window, "Start Poll")->click();
        QVERIFY(sim.waitForCommands(1));
        QSignalSpy busy(&protocoladapter::instance(), &protocoladapter::busy);
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
        ticker.start(50);
        QPushButton *net = withText(group(&window, "Net Setting"), "disconnect");
        QVERIFY(net);

        sim.stop();
        QTRY_COMPARE(net->text(), "retrying");
        const int before = ticks;
        QTRY_VERIFY(ticks > before + 10); // the window keeps answering while it tries
        QVERIFY(sim.start(samePort));
        QTRY_COMPARE_WITH_TIMEOUT(net->text(), "disconnect", 6000);
        QCOMPARE(busy.count(), 0);
        const QString link = "TCP link to 127.0.0.1:" + sim.portText();
        QCOMPARE(notices(&window).mid(notices(&window).size() - 4),
                 (QStringList{"TCP link dropped: The remote host closed the connection", "Poll stopped: no link is left",
                              link + ": trying the link again in the background", link + ": the link is back"}));
        QVERIFY(withText(&window, "Start Poll", true));
        withText(&window, "Back", true)->click();
        withText(&window, "One By One")->click();
        QVERIFY(sim.waitForCommands(1));
        QCOMPARE(sim.lastCommand().value("text").toString(), "1TOONE.");

        sim.stop();
        QTRY_COMPARE(net->text(), "retrying");
        net->click();
        QCOMPARE(net->text(), "connect");
        QVERIFY(!window.findChild<LinkKeeper *>()->isRetrying(protocoladapter::TcpLink));
        QCOMPARE(notices(&window).last(), link + ": stopped trying the link again");
    }

    // The serial device goes away and comes back at the same path.
    void reconnectSerial()
    {
        const QString path = m_env.filePath("ttyMatrix");
        auto pty = std::make_unique<PtyPair>();
        QVERIFY(QFile::link(pty->slavePath(), path));
        MainWindow window;
        window.show();
        window.findChild<QComboBox *>()->setEditText(path);
        QPushButton *serial = withText(group(&window, "Com Setting"), "Connect");
        serial->click();
        QCOMPARE(serial->text(), "disconnect");

        pty.reset();
        QTRY_COMPARE(serial->text(), "retrying");
        pty = std::make_unique<PtyPair>();
        QVERIFY(QFile::remove(path) && QFile::link(pty->slavePath(), path));
        QTRY_COMPARE_WITH_TIMEOUT(serial->text(), "disconnect", 6000);
        withText(&window, "One By One")->click();
        QCOMPARE(pty->readAtLeast(7), QByteArray("1TOONE."));
        QCOMPARE(notices(&window).last(), "serial link " + path + ": the link is back");
    }
};

QTEST_MAIN(TestRouting)
#include "tst_routing.moc"
