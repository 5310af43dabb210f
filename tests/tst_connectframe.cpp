#include "config/linkparameters.h"
#include "link/protocoladapter.h"
#include "setup/cconnectframe.h"
#include "support/modalhelper.h"
#include "support/ptypair.h"
#include "support/tcppeer.h"
#include "support/testenv.h"
#include "widgets/cipedit.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QTableView>
#include <QTcpServer>
#include <QThread>
#include <QTranslator>
#include <QtTest>

#include <memory>

namespace {

// One address book element in the file's own key order.
QByteArray element(const QString &ip, const QString &port, const QString &alias = QString(),
                   const QString &mac = QString(), const QString &gateway = QStringLiteral("127.0.0.254"))
{
    return QStringLiteral(R"({"alias":"%1","gateway":"%2","ip":"%3","mac":"%4","port":"%5","subnet":"255.255.255.0"})")
        .arg(alias, gateway, ip, mac, port)
        .toUtf8();
}

QByteArray book(const QList<QByteArray> &elements)
{
    return "{\"items\":[" + elements.join(',') + "]}";
}

QPushButton *findButton(QWidget *parent, const QString &text)
{
    const auto buttons = parent->findChildren<QPushButton *>();
    for (QPushButton *button : buttons) {
        if (button->text() == text)
            return button;
    }
    return nullptr;
}

// The events of a real double click: a click, then the second press as a double click.
void doubleClick(QWidget *widget, const QPoint &pos)
{
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, pos);
    QTest::mouseDClick(widget, Qt::LeftButton, Qt::NoModifier, pos);
    QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, pos);
}

// Closes every modal dialog that shows up while it lives, counting them.
class ModalWatch
{
public:
    ModalWatch()
    {
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] {
            if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
                ++m_shown;
                dialog->reject();
            }
        });
        m_timer.start(10);
    }
    int shown() const { return m_shown; }

private:
    QTimer m_timer;
    int m_shown = 0;
};

// The panel's controls, found the way the operator finds them: by their texts.
struct Panel
{
    explicit Panel(QWidget *parent = nullptr)
        : frame(new CConnectFrame(parent))
    {
        const auto groups = frame->findChildren<QGroupBox *>();
        for (QGroupBox *group : groups) {
            if (group->title() == QLatin1String("Com Setting")) {
                comGroup = group;
                serialButton = group->findChild<QPushButton *>();
                const auto combos = group->findChildren<QComboBox *>();
                portList = combos.value(0);
                baudList = combos.value(1);
            } else if (group->title() == QLatin1String("Net Setting")) {
                netGroup = group;
            }
        }
        table = frame->findChild<QTableView *>();
        ipEdit = frame->findChild<CIPEdit *>();
        portEdit = netGroup->findChild<QLineEdit *>(QString(), Qt::FindDirectChildrenOnly);
        netButton = findButton(netGroup, QStringLiteral("Connect"));
        getButton = findButton(netGroup, QStringLiteral("Get"));
        addButton = findButton(netGroup, QStringLiteral("Add"));
        allButton = findButton(netGroup, QStringLiteral("All"));
        clearButton = findButton(netGroup, QStringLiteral("Clear"));
        frame->resize(380, 320);
        frame->show();
    }
    ~Panel() { delete frame; }

    QAction *action(const QString &text) const
    {
        const auto actions = frame->findChildren<QAction *>();
        for (QAction *a : actions) {
            if (a->text() == text)
                return a;
        }
        return nullptr;
    }
    int rows() const { return table->model()->rowCount(); }
    QString cell(int row, int column) const { return table->model()->index(row, column).data().toString(); }
    bool ticked(int row) const { return table->model()->index(row, 0).data().toBool(); }
    void tick(int row) const { table->model()->setData(table->model()->index(row, 0), true); }
    void setCurrentRow(int row) const { table->setCurrentIndex(table->model()->index(row, 1)); }
    // A left click on the tick box itself, through the view and its delegate.
    void clickTick(int row) const
    {
        const QRect cellRect = table->visualRect(table->model()->index(row, 0));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, cellRect.center());
    }
    void clickRow(int row) const
    {
        const QRect cellRect = table->visualRect(table->model()->index(row, 1));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, cellRect.center());
    }

    CConnectFrame *frame;
    QGroupBox *comGroup = nullptr;
    QGroupBox *netGroup = nullptr;
    QPushButton *serialButton = nullptr;
    QComboBox *portList = nullptr;
    QComboBox *baudList = nullptr;
    QTableView *table = nullptr;
    CIPEdit *ipEdit = nullptr;
    QLineEdit *portEdit = nullptr;
    QPushButton *netButton = nullptr;
    QPushButton *getButton = nullptr;
    QPushButton *addButton = nullptr;
    QPushButton *allButton = nullptr;
    QPushButton *clearButton = nullptr;
};

} // namespace

class TestConnectFrame : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startState();
    void tcpConnectUsesTopmostTick();
    void tcpConnectFailureChangesNothing();
    void serialOpenAndClose();
    void getOverSerial_data();
    void getOverSerial();
    void settingOverTcpDropsTheLink();
    void resetOverTcp();
    void addAndEdit();
    void setAlias();
    void moveAndDelete();
    void allAndClear();
    void contextMenuEnablesUpAndDown();
    void nothingWithoutCurrentRow();
    void droppedLinkShowsDisconnected();
    void portAndBaudStoredAtExit();
    void languageChange();

private:
    void writeBook(const QList<QByteArray> &elements) { m_env->writeFile("ipmanager", book(elements)); }
    static bool openSerial(Panel &panel, const PtyPair &pty);

    std::unique_ptr<TestEnv> m_env;
};

void TestConnectFrame::initTestCase()
{
    m_env = std::make_unique<TestEnv>(true);
    QCOMPARE(linkParameters().port, QStringLiteral("COM1"));
}

void TestConnectFrame::init()
{
    QFile::remove(m_env->filePath("ipmanager"));
    QFile::remove(m_env->filePath("ipmanager.bad"));
}

void TestConnectFrame::cleanup()
{
    protocoladapter &adapter = protocoladapter::instance();
    if (adapter.isTcpConnected())
        adapter.disconnectTcp();
    if (adapter.isSerialOpen())
        adapter.closeSerial();
}

bool TestConnectFrame::openSerial(Panel &panel, const PtyPair &pty)
{
    panel.portList->setEditText(pty.slavePath());
    panel.serialButton->click();
    return protocoladapter::instance().isSerialOpen();
}

void TestConnectFrame::startState()
{
    Panel panel;
    QCOMPARE(panel.serialButton->text(), QStringLiteral("Connect"));
    QCOMPARE(panel.netButton->text(), QStringLiteral("Connect"));
    QVERIFY(!panel.getButton->isEnabled());
    QCOMPARE(panel.rows(), 0);
    QVERIFY(panel.portList->count() >= 1);
    QCOMPARE(panel.baudList->count(), 2);
    QCOMPARE(panel.baudList->itemText(0), QStringLiteral("9600"));
    QCOMPARE(panel.baudList->itemText(1), QStringLiteral("115200"));
    QCOMPARE(panel.baudList->currentText(), QStringLiteral("9600"));
    // The stored "COM1" is no port here: the first listed one is offered.
    QCOMPARE(panel.portList->currentIndex(), 0);
    QCOMPARE(panel.portList->currentText(), panel.portList->itemText(0));
    QVERIFY(panel.portList->isEditable());
    const QList<QAction *> menuActions = panel.table->findChild<QMenu *>()->actions();
    QStringList menuTexts;
    for (QAction *a : menuActions)
        menuTexts << a->text();
    QCOMPARE(menuTexts, QStringList({"Setting", "Reset", "Delete", "Set Alias", "Up", "Down"}));
}

void TestConnectFrame::tcpConnectUsesTopmostTick()
{
    TcpPeer first;
    TcpPeer second;
    writeBook({element("127.0.0.1", first.portText()), element("127.0.0.1", second.portText())});
    Panel panel;
    QVERIFY(QTest::qWaitForWindowExposed(panel.frame));
    QCOMPARE(panel.rows(), 2);

    // Nothing ticked: nothing happens.
    panel.netButton->click();
    QCOMPARE(panel.netButton->text(), QStringLiteral("Connect"));
    QVERIFY(!protocoladapter::instance().isTcpConnected());

    panel.clickTick(1);
    QVERIFY(panel.ticked(1));
    QVERIFY(!panel.ticked(0));
    panel.netButton->click();
    QCOMPARE(panel.netButton->text(), QStringLiteral("disconnect"));
    QVERIFY(panel.getButton->isEnabled());
    QVERIFY(!panel.ipEdit->isEnabled());
    QVERIFY(!panel.portEdit->isEnabled());
    protocoladapter::instance().sendRaw(QStringLiteral("PING"));
    QVERIFY(second.waitForBytes(4));
    QCOMPARE(second.received(), QByteArray("PING"));
    QCOMPARE(first.received(), QByteArray());

    panel.netButton->click();
    QCOMPARE(panel.netButton->text(), QStringLiteral("connect"));
    QVERIFY(!panel.getButton->isEnabled());
    QVERIFY(panel.ipEdit->isEnabled());
    QVERIFY(panel.portEdit->isEnabled());

    // With both ticked, the upper row wins; a second click on the box unticks.
    panel.clickTick(0);
    QVERIFY(panel.ticked(0));
    panel.netButton->click();
    protocoladapter::instance().sendRaw(QStringLiteral("ONE"));
    QVERIFY(first.waitForBytes(3));
    QCOMPARE(first.received(), QByteArray("ONE"));
    panel.netButton->click();
    panel.clickTick(0);
    QVERIFY(!panel.ticked(0));
}

void TestConnectFrame::tcpConnectFailureChangesNothing()
{
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
    const QString deadPort = QString::number(closed.serverPort());
    closed.close();
    writeBook({element("127.0.0.1", deadPort)});
    Panel panel;
    panel.tick(0);
    panel.netButton->click();
    QCOMPARE(panel.netButton->text(), QStringLiteral("Connect"));
    QVERIFY(panel.ipEdit->isEnabled());
    QVERIFY(!panel.getButton->isEnabled());
}

void TestConnectFrame::serialOpenAndClose()
{
    PtyPair pty;
    QVERIFY(pty.isValid());
    Panel panel;

    panel.portList->setEditText(QStringLiteral("/nonexistent/ttyNONE"));
    panel.serialButton->click();
    QCOMPARE(panel.serialButton->text(), QStringLiteral("Connect"));
    QVERIFY(panel.portList->isEnabled());

    QVERIFY(openSerial(panel, pty));
    QCOMPARE(panel.serialButton->text(), QStringLiteral("disconnect"));
    QVERIFY(!panel.portList->isEnabled());
    QVERIFY(!panel.baudList->isEnabled());
    QVERIFY(panel.getButton->isEnabled());
    protocoladapter::instance().sendRaw(QStringLiteral("1D3V5."));
    QCOMPARE(pty.readAtLeast(6), QByteArray("1D3V5."));

    panel.serialButton->click();
    QCOMPARE(panel.serialButton->text(), QStringLiteral("connect"));
    QVERIFY(panel.portList->isEnabled());
    QVERIFY(panel.baudList->isEnabled());
    QVERIFY(!panel.getButton->isEnabled());
    QVERIFY(!protocoladapter::instance().isSerialOpen());
}

void TestConnectFrame::getOverSerial_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QByteArray>("firstRow");
    QTest::addColumn<QString>("ipField");
    QTest::addColumn<QString>("portField");

    const QByteArray kept = element("127.0.0.1", "6800", "Lab", "01-02");
    QTest::newRow("full answer updates the row with that address")
        << QByteArray("HNW127.0.0.1,6801,255.255.255.0,127.0.0.9,AA-BB-CC-DD-EE-FF")
        << element("127.0.0.1", "6801", QString(), "AA-BB-CC-DD-EE-FF", "127.0.0.9")
        << "127.0.0.1" << "6801";
    QTest::newRow("fields beyond the fifth are ignored")
        << QByteArray("HNW127.0.0.1,6802,255.255.255.0,127.0.0.9,AA,extra")
        << element("127.0.0.1", "6802", QString(), "AA", "127.0.0.9") << "127.0.0.1" << "6802";
    QTest::newRow("unknown address adds no row")
        << QByteArray("HNW127.0.0.3,6803,255.255.255.0,127.0.0.9,AA") << kept << "127.0.0.3" << "6803";
    QTest::newRow("no answer") << QByteArray() << kept << "127.0.0.2" << "6900";
    QTest::newRow("garbage") << QByteArray("ERR\r\n") << kept << "127.0.0.2" << "6900";
    QTest::newRow("lower-case prefix") << QByteArray("hnw127.0.0.1,1,2,3,4") << kept << "127.0.0.2" << "6900";
    QTest::newRow("four fields") << QByteArray("HNW127.0.0.1,6801,255.255.255.0,127.0.0.9") << kept
                                 << "127.0.0.2" << "6900";
    QTest::newRow("prefix alone") << QByteArray("HNW") << kept << "127.0.0.2" << "6900";
}

void TestConnectFrame::getOverSerial()
{
    QFETCH(QByteArray, answer);
    QFETCH(QByteArray, firstRow);
    QFETCH(QString, ipField);
    QFETCH(QString, portField);

    const QByteArray second = element("127.0.0.2", "6900", "Spare");
    writeBook({element("127.0.0.1", "6800", "Lab", "01-02"), second});
    PtyPair pty;
    {
        Panel panel;
        QVERIFY(QTest::qWaitForWindowExposed(panel.frame));
        panel.clickRow(1);
        QCOMPARE(panel.ipEdit->text(), QStringLiteral("127.0.0.2"));
        QCOMPARE(panel.portEdit->text(), QStringLiteral("6900"));
        QVERIFY(openSerial(panel, pty));

        // The device answers the query from its own thread, as a real one would.
        QByteArray query;
        std::unique_ptr<QThread> device(QThread::create([&pty, &query, answer] {
            query = pty.readAtLeast(3);
            pty.write(answer);
        }));
        device->start();
        panel.getButton->click();
        QVERIFY(device->wait(5000));
        QCOMPARE(query, QByteArray("HWC"));
        QCOMPARE(panel.ipEdit->text(), ipField);
        QCOMPARE(panel.portEdit->text(), portField);
        QCOMPARE(panel.rows(), 2);
    }
    QCOMPARE(m_env->readFile("ipmanager"), book({firstRow, second}));
}

void TestConnectFrame::settingOverTcpDropsTheLink()
{
    TcpPeer peer;
    writeBook({element("127.0.0.1", peer.portText(), "Lab", "01-02", "127.0.0.1")});
    {
        Panel panel;
        panel.tick(0);
        panel.netButton->click();
        QCOMPARE(panel.netButton->text(), QStringLiteral("disconnect"));
        panel.setCurrentRow(0);

        // Cancel sends nothing and keeps the row.
        answerNextModal([](QDialog *dialog) { findButton(dialog, QStringLiteral("Cancel"))->click(); });
        panel.action("Setting")->trigger();
        QCOMPARE(panel.cell(0, 3), QStringLiteral("Lab"));
        QCOMPARE(panel.netButton->text(), QStringLiteral("disconnect"));

        answerNextModal([](QDialog *dialog) {
            dialog->findChildren<CIPEdit *>().at(1)->setText(QStringLiteral("255.255.0.0"));
            findButton(dialog, QStringLiteral("OK"))->click();
        });
        panel.action("Setting")->trigger();
        const QByteArray expected("HWS127.0.0.1.255.255.0.0.127.0.0.1");
        QVERIFY(peer.waitForBytes(expected.size()));
        QCOMPARE(peer.received(), expected);
        QCOMPARE(panel.netButton->text(), QStringLiteral("connect"));
        QVERIFY(panel.ipEdit->isEnabled());
        QVERIFY(!panel.getButton->isEnabled());
        QVERIFY(!protocoladapter::instance().isTcpConnected());
        QCOMPARE(panel.cell(0, 3), QString());
    }
    QCOMPARE(m_env->readFile("ipmanager"),
             book({QStringLiteral(R"({"alias":"","gateway":"127.0.0.1","ip":"127.0.0.1","mac":"01-02","port":"%1","subnet":"255.255.0.0"})")
                       .arg(peer.portText())
                       .toUtf8()}));
}

void TestConnectFrame::resetOverTcp()
{
    TcpPeer peer;
    writeBook({element("127.0.0.2", "6900", "Spare"), element("127.0.0.1", peer.portText(), "Lab")});
    {
        Panel panel;
        panel.tick(1);
        panel.netButton->click();
        QCOMPARE(panel.netButton->text(), QStringLiteral("disconnect"));
        panel.setCurrentRow(1);
        panel.action("Reset")->trigger();
        QVERIFY(peer.waitForBytes(3));
        QCOMPARE(peer.received(), QByteArray("HWR"));
        QCOMPARE(panel.netButton->text(), QStringLiteral("connect"));
        QVERIFY(!panel.getButton->isEnabled());
        QCOMPARE(panel.cell(1, 1), QStringLiteral("192.168.1.168"));
        QCOMPARE(panel.cell(1, 2), QStringLiteral("6800"));
        QCOMPARE(panel.cell(1, 3), QString());
    }
    QCOMPARE(m_env->readFile("ipmanager"),
             book({element("127.0.0.2", "6900", "Spare"),
                   element("192.168.1.168", "6800", QString(), QString(), "192.168.1.1")}));
}

void TestConnectFrame::addAndEdit()
{
    {
        Panel panel;
        QVERIFY(QTest::qWaitForWindowExposed(panel.frame));
        answerNextModal([](QDialog *dialog) { findButton(dialog, QStringLiteral("Cancel"))->click(); });
        panel.addButton->click();
        QCOMPARE(panel.rows(), 0);

        answerNextModal([](QDialog *dialog) { findButton(dialog, QStringLiteral("OK"))->click(); });
        panel.addButton->click();
        answerNextModal([](QDialog *dialog) {
            dialog->findChildren<CIPEdit *>().at(0)->setText(QStringLiteral("127.0.0.1"));
            findButton(dialog, QStringLiteral("OK"))->click();
        });
        panel.addButton->click();
        QCOMPARE(panel.rows(), 2);
        QCOMPARE(panel.cell(0, 1), QStringLiteral("192.168.1.168"));
        QCOMPARE(panel.cell(1, 1), QStringLiteral("127.0.0.1"));
        QCOMPARE(panel.cell(1, 2), QStringLiteral("6800"));

        // Give row 1 a name, then edit it: unchanged keeps the name, a new address drops it.
        panel.setCurrentRow(1);
        answerNextModal([](QDialog *dialog) {
            const auto edits = dialog->findChildren<QLineEdit *>();
            for (QLineEdit *edit : edits) {
                if (edit->isEnabled())
                    edit->setText(QStringLiteral("Bench"));
            }
            findButton(dialog, QStringLiteral("Ok"))->click();
        });
        panel.action("Set Alias")->trigger();
        QCOMPARE(panel.cell(1, 3), QStringLiteral("Bench"));

        const QPoint rowCentre = panel.table->visualRect(panel.table->model()->index(1, 2)).center();
        answerNextModal([](QDialog *dialog) { findButton(dialog, QStringLiteral("OK"))->click(); });
        doubleClick(panel.table->viewport(), rowCentre);
        QCOMPARE(panel.cell(1, 3), QStringLiteral("Bench"));

        answerNextModal([](QDialog *dialog) {
            dialog->findChildren<CIPEdit *>().at(2)->setText(QStringLiteral("127.0.0.100"));
            findButton(dialog, QStringLiteral("OK"))->click();
        });
        doubleClick(panel.table->viewport(), rowCentre);
        QCOMPARE(panel.cell(1, 3), QString());
    }
    QCOMPARE(m_env->readFile("ipmanager"),
             book({element("192.168.1.168", "6800", QString(), QString(), "192.168.1.1"),
                   element("127.0.0.1", "6800", QString(), QString(), "127.0.0.100")}));
}

void TestConnectFrame::setAlias()
{
    writeBook({element("127.0.0.1", "6800", "Old")});
    Panel panel;
    panel.setCurrentRow(0);
    QString shownDefault;
    answerNextModal([&shownDefault](QDialog *dialog) {
        const auto edits = dialog->findChildren<QLineEdit *>();
        for (QLineEdit *edit : edits) {
            if (edit->isEnabled())
                edit->clear();
            else
                shownDefault = edit->text();
        }
        findButton(dialog, QStringLiteral("Ok"))->click();
    });
    panel.action("Set Alias")->trigger();
    // An empty name falls back to the address.
    QCOMPARE(shownDefault, QStringLiteral("127.0.0.1"));
    QCOMPARE(panel.cell(0, 3), QStringLiteral("127.0.0.1"));

    answerNextModal([](QDialog *dialog) { findButton(dialog, QStringLiteral("Cancel"))->click(); });
    panel.action("Set Alias")->trigger();
    QCOMPARE(panel.cell(0, 3), QStringLiteral("127.0.0.1"));
}

void TestConnectFrame::moveAndDelete()
{
    const QByteArray a = element("127.0.0.1", "1", "A");
    const QByteArray b = element("127.0.0.2", "2", "B");
    const QByteArray c = element("127.0.0.3", "3", "C");
    writeBook({a, b, c});
    {
        Panel panel;
        panel.tick(0);
        panel.setCurrentRow(0);
        panel.action("Down")->trigger();
        QCOMPARE(panel.cell(0, 3), QStringLiteral("B"));
        QCOMPARE(panel.cell(1, 3), QStringLiteral("A"));
        // Ticks stay with the row position, as does the current row.
        QVERIFY(panel.ticked(0));
        QVERIFY(!panel.ticked(1));
        QCOMPARE(panel.table->currentIndex().row(), 0);

        panel.action("Up")->trigger();
        QCOMPARE(panel.cell(0, 3), QStringLiteral("B"));

        panel.setCurrentRow(2);
        panel.action("Down")->trigger();
        QCOMPARE(panel.cell(2, 3), QStringLiteral("C"));
        panel.action("Up")->trigger();
        QCOMPARE(panel.cell(1, 3), QStringLiteral("C"));
        QCOMPARE(panel.cell(2, 3), QStringLiteral("A"));

        panel.setCurrentRow(1);
        panel.action("Delete")->trigger();
        QCOMPARE(panel.rows(), 2);
        QCOMPARE(panel.cell(0, 3), QStringLiteral("B"));
        QCOMPARE(panel.cell(1, 3), QStringLiteral("A"));
        QVERIFY(!panel.ticked(0));
    }
    QCOMPARE(m_env->readFile("ipmanager"), book({b, a}));
}

void TestConnectFrame::allAndClear()
{
    writeBook({element("127.0.0.1", "1"), element("127.0.0.2", "2"), element("127.0.0.3", "3")});
    {
        Panel panel;
        panel.allButton->click();
        for (int row = 0; row < 3; ++row)
            QVERIFY(panel.ticked(row));
        QCOMPARE(panel.table->selectionModel()->selectedRows().size(), 3);
        panel.clearButton->click();
        QCOMPARE(panel.rows(), 0);
        panel.allButton->click();
        QCOMPARE(panel.rows(), 0);
    }
    QCOMPARE(m_env->readFile("ipmanager"), QByteArray(R"({"items":[]})"));
}

void TestConnectFrame::contextMenuEnablesUpAndDown()
{
    writeBook({element("127.0.0.1", "1"), element("127.0.0.2", "2"), element("127.0.0.3", "3")});
    Panel panel;
    QVERIFY(QTest::qWaitForWindowExposed(panel.frame));

    const auto menuStateAt = [&panel](const QPoint &point) {
        QString state = QStringLiteral("no menu");
        QTimer::singleShot(50, panel.frame, [&state] {
            if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
                state.clear();
                const auto actions = menu->actions();
                for (QAction *a : actions)
                    state += a->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
                menu->close();
            }
        });
        emit panel.table->customContextMenuRequested(point);
        QTest::qWait(100);
        return state;
    };
    const auto centreOf = [&panel](int row) {
        return panel.table->visualRect(panel.table->model()->index(row, 1)).center();
    };
    // Order: Setting, Reset, Delete, Set Alias, Up, Down.
    QCOMPARE(menuStateAt(centreOf(0)), QStringLiteral("111101"));
    QCOMPARE(menuStateAt(centreOf(1)), QStringLiteral("111111"));
    QCOMPARE(menuStateAt(centreOf(2)), QStringLiteral("111110"));
    QCOMPARE(menuStateAt(centreOf(2) + QPoint(0, 200)), QStringLiteral("no menu"));
}

void TestConnectFrame::nothingWithoutCurrentRow()
{
    TcpPeer peer;
    writeBook({element("127.0.0.1", peer.portText(), "Lab"), element("127.0.0.2", "2", "B")});
    {
        Panel panel;
        panel.tick(0);
        panel.netButton->click();
        QVERIFY(protocoladapter::instance().isTcpConnected());
        QVERIFY(!panel.table->currentIndex().isValid());

        ModalWatch watch;
        for (const char *text : {"Setting", "Reset", "Set Alias", "Up", "Down", "Delete"})
            panel.action(QString::fromLatin1(text))->trigger();
        QCOMPARE(watch.shown(), 0);
        QCOMPARE(panel.rows(), 2);
        QVERIFY(panel.ticked(0));
        QCOMPARE(panel.netButton->text(), QStringLiteral("disconnect"));
        QVERIFY(protocoladapter::instance().isTcpConnected());

        // The same with an empty list.
        panel.clearButton->click();
        for (const char *text : {"Setting", "Reset", "Set Alias", "Up", "Down", "Delete"})
            panel.action(QString::fromLatin1(text))->trigger();
        QCOMPARE(watch.shown(), 0);
        QTest::qWait(50);
        QCOMPARE(peer.received(), QByteArray());
    }
    QCOMPARE(m_env->readFile("ipmanager"), QByteArray(R"({"items":[]})"));
}

void TestConnectFrame::droppedLinkShowsDisconnected()
{
    TcpPeer peer;
    PtyPair pty;
    writeBook({element("127.0.0.1", peer.portText())});
    Panel panel;
    protocoladapter &adapter = protocoladapter::instance();
    panel.tick(0);
    panel.netButton->click();
    QVERIFY(openSerial(panel, pty));
    QCOMPARE(panel.netButton->text(), QStringLiteral("disconnect"));

    // TCP goes while the serial link stays: Get stays usable.
    adapter.disconnectTcp();
    emit adapter.linkDropped(protocoladapter::TcpLink);
    QCOMPARE(panel.netButton->text(), QStringLiteral("connect"));
    QVERIFY(panel.ipEdit->isEnabled());
    QVERIFY(panel.portEdit->isEnabled());
    QVERIFY(panel.getButton->isEnabled());
    QCOMPARE(panel.serialButton->text(), QStringLiteral("disconnect"));

    adapter.closeSerial();
    emit adapter.linkDropped(protocoladapter::SerialLink);
    QCOMPARE(panel.serialButton->text(), QStringLiteral("connect"));
    QVERIFY(panel.portList->isEnabled());
    QVERIFY(panel.baudList->isEnabled());
    QVERIFY(!panel.getButton->isEnabled());

    // The next click opens again rather than closing a link that is gone.
    panel.serialButton->click();
    QCOMPARE(panel.serialButton->text(), QStringLiteral("disconnect"));
    QVERIFY(adapter.isSerialOpen());
}

void TestConnectFrame::portAndBaudStoredAtExit()
{
    const auto stored = [this](const char *key) {
        return QSettings(m_env->filePath("UserData.ini"), QSettings::IniFormat).value(QLatin1String(key)).toString();
    };
    {
        Panel panel;
        panel.portList->setEditText(QStringLiteral("/dev/serial/by-id/usb-test"));
        panel.baudList->setCurrentText(QStringLiteral("115200"));
    }
    QCOMPARE(stored("Port"), QStringLiteral("/dev/serial/by-id/usb-test"));
    QCOMPARE(stored("Baud"), QStringLiteral("115200"));
    QCOMPARE(linkParameters().port, QStringLiteral("/dev/serial/by-id/usb-test"));
    {
        // A typed device path comes back; a name that is not listed gives the first port.
        Panel panel;
        QCOMPARE(panel.portList->currentText(), QStringLiteral("/dev/serial/by-id/usb-test"));
        QCOMPARE(panel.baudList->currentText(), QStringLiteral("115200"));
        panel.portList->setEditText(QStringLiteral("NOPORT9"));
    }
    QCOMPARE(stored("Port"), QStringLiteral("NOPORT9"));
    {
        Panel panel;
        QCOMPARE(panel.portList->currentText(), panel.portList->itemText(0));
        panel.baudList->setCurrentText(QStringLiteral("9600"));
    }
    QCOMPARE(stored("Baud"), QStringLiteral("9600"));
    QSettings settings(m_env->filePath("UserData.ini"), QSettings::IniFormat);
    QVERIFY(!settings.contains("ConnectType"));
    QVERIFY(!settings.contains("IPAdd"));
    QVERIFY(!settings.contains("NetPort"));
}

void TestConnectFrame::languageChange()
{
    TcpPeer peer;
    writeBook({element("127.0.0.1", peer.portText())});
    Panel panel;
    panel.tick(0);
    panel.netButton->click();

    QTranslator translator;
    QVERIFY(translator.load(m_env->filePath("Lang/zh_cn.qm")));
    QApplication::installTranslator(&translator);
    QTRY_COMPARE(panel.netGroup->title(), QStringLiteral("网络设置"));
    QCOMPARE(panel.comGroup->title(), QStringLiteral("串口设置"));
    // The connected side keeps saying so in the new language.
    QCOMPARE(panel.netButton->text(), QStringLiteral("断开"));
    QCOMPARE(panel.serialButton->text(), QStringLiteral("连接"));
    QCOMPARE(panel.action("Setting"), nullptr);

    QApplication::removeTranslator(&translator);
    QTRY_COMPARE(panel.netButton->text(), QStringLiteral("disconnect"));
    QCOMPARE(panel.serialButton->text(), QStringLiteral("Connect"));
    QVERIFY(panel.action("Setting"));
    QCOMPARE(panel.table->model()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("Alais"));
}

QTEST_MAIN(TestConnectFrame)
#include "tst_connectframe.moc"
