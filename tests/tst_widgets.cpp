#include "support/testenv.h"
#include "widgets/buttonwithmenu.h"
#include "widgets/checkboxdelegate.h"
#include "widgets/checkboxwithmenu.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QStandardItemModel>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

// Runs action on the next popup menu once it is up (a context menu runs its own loop).
void answerNextPopup(std::function<void(QMenu *)> action, int triesLeft = 500)
{
    QTimer::singleShot(10, [action, triesLeft] {
        if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
            action(menu);
            return;
        }
        if (triesLeft > 0)
            answerNextPopup(action, triesLeft - 1);
    });
}

// Right-clicks through the window, as the platform delivers it, so that Qt
// turns the press into a context-menu event.
void rightClick(QWidget *widget)
{
    QWidget *window = widget->window();
    QTest::mouseClick(window->windowHandle(), Qt::RightButton, Qt::NoModifier,
                      widget->mapTo(window, widget->rect().center()));
}

} // namespace

class TestWidgets : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_env = std::make_unique<TestEnv>(); }

    void menuButtonConstruction();
    void rightClickMenuEmitsTriggerOnly_data();
    void rightClickMenuEmitsTriggerOnly();
    void leftClickKeepsItsMeaning();
    void wholeTileTakesTheClick();

    void delegateMouse();
    void delegateDoubleClick();
    void delegateKeys_data();
    void delegateKeys();
    void delegateOtherColumnsUseBase();
    void delegatePaintsUnsetAsUnchecked();

private:
    std::unique_ptr<TestEnv> m_env;
};

void TestWidgets::menuButtonConstruction()
{
    ButtonWithMenu plainButton;
    CheckBoxWithMenu plainBox;
    for (QWidget *widget : {static_cast<QWidget *>(&plainButton), static_cast<QWidget *>(&plainBox)}) {
        QCOMPARE(widget->contextMenuPolicy(), Qt::ActionsContextMenu);
        QCOMPARE(widget->actions().size(), 1);
        QCOMPARE(widget->actions().first()->text(), QStringLiteral("Test"));
    }

    ButtonWithMenu namedButton(QStringLiteral("Scene 1"));
    CheckBoxWithMenu namedBox(QStringLiteral("Input 1"));
    QCOMPARE(namedButton.text(), QStringLiteral("Scene 1"));
    QCOMPARE(namedBox.text(), QStringLiteral("Input 1"));
    QCOMPARE(namedButton.actions().size(), 1);
    QVERIFY(namedButton.actions().first()->text().isEmpty());
    QVERIFY(namedBox.actions().first()->text().isEmpty());

    namedButton.setActionText(QStringLiteral("Rename"));
    namedBox.setActionText(QStringLiteral("Rename"));
    QCOMPARE(namedButton.actions().first()->text(), QStringLiteral("Rename"));
    QCOMPARE(namedBox.actions().first()->text(), QStringLiteral("Rename"));
}

void TestWidgets::rightClickMenuEmitsTriggerOnly_data()
{
    QTest::addColumn<bool>("checkBox");
    QTest::addColumn<bool>("checkedBefore");
    QTest::newRow("button") << false << false;
    QTest::newRow("check box, unchecked") << true << false;
    QTest::newRow("check box, checked") << true << true;
}

void TestWidgets::rightClickMenuEmitsTriggerOnly()
{
    QFETCH(bool, checkBox);
    QFETCH(bool, checkedBefore);

    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    QAbstractButton *widget = nullptr;
    if (checkBox) {
        auto *box = new CheckBoxWithMenu(QStringLiteral("Input 1"));
        box->setChecked(checkedBefore);
        box->setActionText(QStringLiteral("Rename"));
        widget = box;
    } else {
        auto *button = new ButtonWithMenu(QStringLiteral("Scene 1"));
        button->setActionText(QStringLiteral("Rename"));
        widget = button;
    }
    layout->addWidget(widget);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QSignalSpy triggers(widget, SIGNAL(trigger()));
    QSignalSpy clicks(widget, &QAbstractButton::clicked);
    QStringList entries;
    answerNextPopup([&entries](QMenu *menu) {
        for (QAction *action : menu->actions())
            entries << action->text();
        QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier,
                          menu->actionGeometry(menu->actions().first()).center());
    });
    rightClick(widget);

    QTRY_COMPARE(triggers.count(), 1);
    QCOMPARE(entries, QStringList{QStringLiteral("Rename")});
    QCOMPARE(clicks.count(), 0);
    QCOMPARE(widget->isChecked(), checkedBefore);
}

void TestWidgets::leftClickKeepsItsMeaning()
{
    CheckBoxWithMenu box(QStringLiteral("Output 2"));
    ButtonWithMenu button(QStringLiteral("Scene 2"));
    box.resize(box.sizeHint());
    button.resize(button.sizeHint());
    QSignalSpy boxTriggers(&box, &CheckBoxWithMenu::trigger);
    QSignalSpy boxClicks(&box, &QAbstractButton::clicked);
    QSignalSpy buttonTriggers(&button, &ButtonWithMenu::trigger);
    QSignalSpy buttonClicks(&button, &QAbstractButton::clicked);

    QTest::mouseClick(&box, Qt::LeftButton, Qt::NoModifier, box.rect().center());
    QVERIFY(box.isChecked());
    QTest::mouseClick(&box, Qt::LeftButton, Qt::NoModifier, box.rect().center());
    QVERIFY(!box.isChecked());
    QTest::mouseClick(&button, Qt::LeftButton, Qt::NoModifier, button.rect().center());

    QCOMPARE(boxClicks.count(), 2);
    QCOMPARE(buttonClicks.count(), 1);
    QCOMPARE(boxTriggers.count(), 0);
    QCOMPARE(buttonTriggers.count(), 0);
}

// In the grids a channel button is stretched far wider than its text; the
// operator clicks anywhere on the tile.
void TestWidgets::wholeTileTakesTheClick()
{
    CheckBoxWithMenu box(QStringLiteral("In 3"));
    box.resize(box.sizeHint().width() * 4, box.sizeHint().height());
    const QPoint farRight(box.width() - 3, box.height() / 2);
    QTest::mouseClick(&box, Qt::LeftButton, Qt::NoModifier, farRight);
    QVERIFY(box.isChecked());
    QTest::mouseClick(&box, Qt::LeftButton, Qt::NoModifier, farRight);
    QVERIFY(!box.isChecked());
}

namespace {

// A device list as the connection panel has it: column 0 the tick, column 1 text.
struct DeviceTable
{
    DeviceTable()
    {
        model.setColumnCount(2);
        model.setRowCount(3);
        model.setData(model.index(0, 0), false);
        model.setData(model.index(1, 0), true);
        // Row 2, column 0 is never set.
        for (int row = 0; row < 3; ++row)
            model.setData(model.index(row, 1), QStringLiteral("192.168.0.%1").arg(row + 10));
        view.setModel(&model);
        view.setItemDelegate(new CheckBoxDelegate(&view));
        view.setColumnWidth(0, 100);
        view.setColumnWidth(1, 100);
        view.resize(300, 200);
        view.show();
    }

    QPoint cellCentre(int row, int column) const
    {
        return view.visualRect(model.index(row, column)).center();
    }
    QPoint besideIndicator(int row) const
    {
        const QRect cell = view.visualRect(model.index(row, 0));
        return QPoint(cell.left() + 3, cell.center().y());
    }
    bool ticked(int row) const { return model.index(row, 0).data().toBool(); }
    void sendMouse(QEvent::Type type, Qt::MouseButton button, const QPoint &pos)
    {
        QMouseEvent event(type, pos, view.viewport()->mapToGlobal(pos), button,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : button,
                          Qt::NoModifier);
        QApplication::sendEvent(view.viewport(), &event);
    }

    QStandardItemModel model;
    QTableView view;
};

} // namespace

void TestWidgets::delegateMouse()
{
    DeviceTable table;
    QVERIFY(QTest::qWaitForWindowExposed(&table.view));

    QTest::mouseClick(table.view.viewport(), Qt::LeftButton, Qt::NoModifier, table.cellCentre(0, 0));
    QVERIFY(table.ticked(0));
    QTest::mouseClick(table.view.viewport(), Qt::LeftButton, Qt::NoModifier, table.cellCentre(0, 0));
    QVERIFY(!table.ticked(0));
    QTest::mouseClick(table.view.viewport(), Qt::LeftButton, Qt::NoModifier, table.cellCentre(1, 0));
    QVERIFY(!table.ticked(1));
    QTest::mouseClick(table.view.viewport(), Qt::LeftButton, Qt::NoModifier, table.cellCentre(2, 0));
    QVERIFY(table.ticked(2));

    QSignalSpy changes(&table.model, &QAbstractItemModel::dataChanged);
    QTest::mouseClick(table.view.viewport(), Qt::RightButton, Qt::NoModifier, table.cellCentre(0, 0));
    QTest::mouseClick(table.view.viewport(), Qt::LeftButton, Qt::NoModifier, table.besideIndicator(0));
    QTest::mouseClick(table.view.viewport(), Qt::MiddleButton, Qt::NoModifier, table.cellCentre(1, 0));
    QCOMPARE(changes.count(), 0);
    QVERIFY(!table.ticked(0));
    QVERIFY(!table.ticked(1));
}

void TestWidgets::delegateDoubleClick()
{
    DeviceTable table;
    QVERIFY(QTest::qWaitForWindowExposed(&table.view));
    const QPoint box = table.cellCentre(0, 0);
    QSignalSpy changes(&table.model, &QAbstractItemModel::dataChanged);

    // What the platform delivers for a double click: the second press arrives as
    // the double click. The first release ticks; the double click changes nothing,
    // and the view keeps the release after it from the delegate.
    table.sendMouse(QEvent::MouseButtonPress, Qt::LeftButton, box);
    table.sendMouse(QEvent::MouseButtonRelease, Qt::LeftButton, box);
    QVERIFY(table.ticked(0));
    table.sendMouse(QEvent::MouseButtonDblClick, Qt::LeftButton, box);
    QVERIFY(table.ticked(0));
    table.sendMouse(QEvent::MouseButtonRelease, Qt::LeftButton, box);
    QVERIFY(table.ticked(0));
    QCOMPARE(changes.count(), 1);

    // The double click itself is consumed without a change.
    CheckBoxDelegate delegate;
    QStyleOptionViewItem option;
    option.rect = table.view.visualRect(table.model.index(0, 0));
    QMouseEvent doubleClick(QEvent::MouseButtonDblClick, box, Qt::LeftButton, Qt::LeftButton,
                            Qt::NoModifier);
    QVERIFY(delegate.editorEvent(&doubleClick, &table.model, option, table.model.index(0, 0)));
    QVERIFY(table.ticked(0));
    QMouseEvent press(QEvent::MouseButtonPress, box, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QVERIFY(!delegate.editorEvent(&press, &table.model, option, table.model.index(0, 0)));
    QVERIFY(table.ticked(0));
    QMouseEvent release(QEvent::MouseButtonRelease, box, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QVERIFY(delegate.editorEvent(&release, &table.model, option, table.model.index(0, 0)));
    QVERIFY(!table.ticked(0));
}

void TestWidgets::delegateKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("flips");
    QTest::newRow("space") << int(Qt::Key_Space) << true;
    QTest::newRow("select") << int(Qt::Key_Select) << true;
    QTest::newRow("enter") << int(Qt::Key_Enter) << false;
    QTest::newRow("return") << int(Qt::Key_Return) << false;
    QTest::newRow("letter") << int(Qt::Key_A) << false;
}

void TestWidgets::delegateKeys()
{
    QFETCH(int, key);
    QFETCH(bool, flips);

    DeviceTable table;
    QVERIFY(QTest::qWaitForWindowExposed(&table.view));
    table.view.setFocus();
    table.view.setCurrentIndex(table.model.index(1, 0));
    // Sent by hand: QTest has no text for Key_Select.
    auto press = [&table, key] {
        const QString text = key == Qt::Key_A ? QStringLiteral("a") : QString();
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(&table.view, &event);
    };
    press();
    QCOMPARE(table.ticked(1), !flips);
    press();
    QCOMPARE(table.ticked(1), true);

    // The view keeps Enter to itself, so ask the delegate directly as well.
    CheckBoxDelegate delegate;
    QStyleOptionViewItem option;
    option.rect = table.view.visualRect(table.model.index(1, 0));
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QCOMPARE(delegate.editorEvent(&event, &table.model, option, table.model.index(1, 0)), flips);
    QCOMPARE(table.ticked(1), !flips);
}

void TestWidgets::delegateOtherColumnsUseBase()
{
    DeviceTable table;
    QVERIFY(QTest::qWaitForWindowExposed(&table.view));
    QSignalSpy changes(&table.model, &QAbstractItemModel::dataChanged);
    QTest::mouseClick(table.view.viewport(), Qt::LeftButton, Qt::NoModifier, table.cellCentre(0, 1));
    QCOMPARE(changes.count(), 0);
    QCOMPARE(table.model.index(0, 1).data().toString(), QStringLiteral("192.168.0.10"));

    // A checkable item outside column 0 gets the base delegate's own check handling.
    QStandardItem *item = table.model.item(0, 1);
    item->setCheckable(true);
    item->setCheckState(Qt::Unchecked);
    table.view.setFocus();
    table.view.setCurrentIndex(item->index());
    QTest::keyClick(&table.view, Qt::Key_Space);
    QCOMPARE(item->checkState(), Qt::Checked);
    QCOMPARE(item->text(), QStringLiteral("192.168.0.10"));
    QVERIFY(!table.ticked(0));
}

void TestWidgets::delegatePaintsUnsetAsUnchecked()
{
    DeviceTable table;
    QVERIFY(QTest::qWaitForWindowExposed(&table.view));
    table.view.clearSelection();
    table.view.setCurrentIndex(QModelIndex());
    const QImage shot = table.view.viewport()->grab().toImage();
    auto cell = [&](int row) {
        return shot.copy(table.view.visualRect(table.model.index(row, 0)).adjusted(1, 1, -1, -1));
    };
    QCOMPARE(cell(2), cell(0));
    QVERIFY(cell(1) != cell(0));
    // Nothing but the box: the cell's corners keep the plain background.
    const QImage unchecked = cell(0);
    QCOMPARE(unchecked.pixel(1, 1), unchecked.pixel(unchecked.width() - 2, unchecked.height() - 2));
}

QTEST_MAIN(TestWidgets)
#include "tst_widgets.moc"
