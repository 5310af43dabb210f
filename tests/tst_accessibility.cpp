#include "app/mainwindow.h"
#include "config/linkparameters.h"
#include "panels/advancedsetting.h"
#include "support/modalhelper.h"
#include "support/testenv.h"
#include "widgets/checkboxwithmenu.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QFont>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QResource>
#include <QTableView>
#include <QTextEdit>
#include <QtTest>

#include <algorithm>
#include <functional>
#include <memory>

namespace {

enum Language { SimplifiedChinese = 0, TraditionalChinese = 1, English = 2 };

QString accessibleName(QWidget *widget)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QString();
}

QString describe(const QWidget *widget)
{
    return QStringLiteral("%1[%2]").arg(QString::fromLatin1(widget->metaObject()->className()),
                                        widget->objectName());
}

template<typename T> T *findByText(QWidget *root, const char *context, const char *source)
{
    const QString text = QCoreApplication::translate(context, source);
    const QList<T *> candidates = root->findChildren<T *>();
    for (T *candidate : candidates) {
        if (candidate->text() == text)
            return candidate;
    }
    return nullptr;
}

// A label that names widget as its buddy, as Linux's accessibility bridge reports it.
bool hasLabel(QWidget *widget)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    return face && !face->relations(QAccessible::Label).isEmpty();
}

// What a screen reader has to go on for every control the keyboard reaches:
// a name of its own; for a field or a button, never the title of the group it
// sits in (Qt's fallback, right only for a scroll area that is the group's content).
QStringList unnamedControls(QWidget *root)
{
    QStringList found;
    const QList<QWidget *> widgets = root->findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        if (!widget->isVisibleTo(root) || !(widget->focusPolicy() & Qt::TabFocus))
            continue;
        // The box's own text field is part of an editable combo box.
        if (qobject_cast<QComboBox *>(widget->parentWidget()))
            continue;
        const QString name = accessibleName(widget);
        auto *group = qobject_cast<QGroupBox *>(widget->parentWidget());
        const bool container = qobject_cast<QAbstractScrollArea *>(widget) && !qobject_cast<QTableView *>(widget)
                               && !qobject_cast<QTextEdit *>(widget);
        const bool fallback = group && !container && name == group->title() && widget->accessibleName().isEmpty();
        if (name.trimmed().isEmpty() || fallback)
            found << describe(widget) + QStringLiteral(" \"") + name + QLatin1Char('"');
        // On Linux a combo box reports its current item as its name; the label says what it is.
        if (qobject_cast<QComboBox *>(widget) && (widget->accessibleName().isEmpty() || !hasLabel(widget)))
            found << describe(widget) + QStringLiteral(" has no label");
    }
    return found;
}

QStringList unnamedInDialog(const std::function<void()> &open)
{
    QStringList found;
    bool shown = false;
    answerNextModal([&](QDialog *dialog) {
        shown = true;
        found = unnamedControls(dialog);
        dialog->reject();
    });
    open();
    if (!shown)
        found << QStringLiteral("no dialog opened");
    return found;
}

// WCAG relative luminance and contrast ratio.
double luminance(QRgb rgb)
{
    auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(rgb)) + 0.7152 * channel(qGreen(rgb)) + 0.0722 * channel(qBlue(rgb));
}

double contrast(QRgb a, QRgb b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// A tile's fill (just inside its border, clear of the text) and the colour of
// its text (the inner pixel that stands out most from the fill).
struct TileLook
{
    QRgb fill;
    QRgb border;
    QRgb text;
};

TileLook lookOf(QWidget *tile)
{
    const QImage image = tile->grab().toImage();
    TileLook look;
    look.fill = image.pixel(3, 3);
    look.border = image.pixel(image.width() / 2, 0);
    look.text = look.fill;
    for (int y = 3; y < image.height() - 3; ++y) {
        for (int x = 3; x < image.width() - 3; ++x) {
            if (contrast(image.pixel(x, y), look.fill) > contrast(look.text, look.fill))
                look.text = image.pixel(x, y);
        }
    }
    return look;
}

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void namesFollowTheLanguage_data();
    void namesFollowTheLanguage();
    void everyControlHasAName();
    void tilesShowTheirState();

private:
    std::unique_ptr<MainWindow> startWindow(int language, bool styled = false);
    void chooseLanguage(MainWindow *window, int language);

    std::unique_ptr<TestEnv> m_env;
};

void TestAccessibility::init()
{
    m_env = std::make_unique<TestEnv>(true);
}

void TestAccessibility::cleanup()
{
    qApp->setStyleSheet(QString());
    m_env.reset();
}

std::unique_ptr<MainWindow> TestAccessibility::startWindow(int language, bool styled)
{
    m_env->writeFile("AppConfig.ini", QStringLiteral("[General]\nlangType=%1\n").arg(language).toLatin1());
    linkParameters().langType = language;
    if (styled) {
        QResource::unregisterResource(QStringLiteral("resource.dll"));
        QResource::registerResource(QStringLiteral("resource.dll"));
        QFile style(QStringLiteral(":/resource/qss/writestyle.qss"));
        if (style.open(QIODevice::ReadOnly))
            qApp->setStyleSheet(QString::fromUtf8(style.readAll()));
    }
    auto window = std::make_unique<MainWindow>();
    QApplication::setFont(QFont(QStringLiteral("微软雅黑")));
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        qWarning() << "window not exposed";
    return window;
}

// As the operator does it: the title bar's Language menu.
void TestAccessibility::chooseLanguage(MainWindow *window, int language)
{
    auto *about = window->findChild<QPushButton *>(QStringLiteral("aboutButton"));
    about->menu()->actions().first()->menu()->actions().at(language)->trigger();
    QCoreApplication::processEvents();
}

void TestAccessibility::namesFollowTheLanguage_data()
{
    QTest::addColumn<int>("startLanguage");
    QTest::addColumn<int>("language");
    QTest::addColumn<QStringList>("expected");

    // close, minimise, menu; text log, hex log, command field; IP part 1 and 4
    // on the connection panel; tick header, unticked cell, ticked cell; serial
    // port and baud boxes; poll Input Begin box; alias dialog's New field; the
    // network dialog's subnet part 2.
    QTest::newRow("English")
        << int(English) << int(English)
        << QStringList{"Close", "Minimize", "Menu", "Command log", "Command log in hex",
                       "Command to send", "IP address, part 1 of 4", "IP address, part 4 of 4",
                       "Tick", "Not ticked", "Ticked", "Com", "Baud", "Input Begin", "New",
                       "subnet, part 2 of 4"};
    QTest::newRow("Simplified Chinese, chosen at run time")
        << int(English) << int(SimplifiedChinese)
        << QStringList{"关闭", "最小化", "菜单", "指令记录", "指令记录（十六进制）", "待发送指令",
                       "IP地址，第1段，共4段", "IP地址，第4段，共4段", "勾选", "未勾选", "已勾选",
                       "串口", "波特率", "起始输入", "新名称", "子网掩码，第2段，共4段"};
    QTest::newRow("Traditional Chinese, from the start")
        << int(TraditionalChinese) << int(TraditionalChinese)
        << QStringList{"關閉", "最小化", "選單", "指令記錄", "指令記錄（十六進位）", "待傳送指令",
                       "IP位址，第1段，共4段", "IP位址，第4段，共4段", "勾選", "未勾選", "已勾選",
                       "序列埠", "鮑率", "起始輸入", "新名稱", "子網路遮罩，第2段，共4段"};
}

void TestAccessibility::namesFollowTheLanguage()
{
    QFETCH(int, startLanguage);
    QFETCH(int, language);
    QFETCH(QStringList, expected);

    std::unique_ptr<MainWindow> window = startWindow(startLanguage);
    auto *connection = window->findChild<QWidget *>(QStringLiteral("connectWidget"));
    auto *table = connection->findChild<QTableView *>();
    // A device row for the tick column (Add sends nothing), and the network
    // dialog made once before any language change.
    answerNextModal([](QDialog *dialog) {
        const QList<QPushButton *> buttons = dialog->findChildren<QPushButton *>();
        for (QPushButton *button : buttons) {
            if (button->isDefault())
                button->click();
        }
    });
    findByText<QPushButton>(connection, "CConnectFrame", "Add")->click();
    QCOMPARE(table->model()->rowCount(), 1);
    auto *switcher = window->findChild<QWidget *>(QStringLiteral("switchWidget"));
    findByText<QPushButton>(switcher, "CSwitcherFrame", "Setting")->click();
    auto *page = window->findChild<AdvancedSetting *>();
    QVERIFY(page);

    if (language != startLanguage)
        chooseLanguage(window.get(), language);
    // The language change reaches the widgets through posted events.
    auto *close = window->findChild<QPushButton *>(QStringLiteral("closeButton"));
    QTRY_COMPARE(accessibleName(close), expected.at(0));

    QStringList names;
    names << accessibleName(close)
          << accessibleName(window->findChild<QPushButton *>(QStringLiteral("minimizeButton")))
          << accessibleName(window->findChild<QPushButton *>(QStringLiteral("aboutButton")));
    for (const char *name : {"textLog", "hexLog", "commandEdit"})
        names << accessibleName(window->findChild<QWidget *>(QLatin1String(name)));

    QList<QLineEdit *> parts;
    const QList<QLineEdit *> edits = connection->findChildren<QLineEdit *>();
    for (QLineEdit *edit : edits) {
        if (edit->parentWidget()->inherits("CIPEdit"))
            parts << edit;
    }
    QCOMPARE(parts.size(), 4);
    names << accessibleName(parts.first()) << accessibleName(parts.last());

    // The tick column as a screen reader walks the table: header, then cells.
    QAccessibleInterface *tableFace = QAccessible::queryAccessibleInterface(table);
    QVERIFY(tableFace && tableFace->tableInterface());
    // Column headers come first among the table's children, column 0 leading.
    QString header;
    for (int i = 0; i < tableFace->childCount() && header.isNull(); ++i) {
        QAccessibleInterface *child = tableFace->child(i);
        if (child && child->role() == QAccessible::ColumnHeader)
            header = child->text(QAccessible::Name);
    }
    names << header << tableFace->tableInterface()->cellAt(0, 0)->text(QAccessible::Name);
    table->model()->setData(table->model()->index(0, 0), true, Qt::EditRole);
    names << tableFace->tableInterface()->cellAt(0, 0)->text(QAccessible::Name);

    const QList<QComboBox *> boxes = connection->findChildren<QComboBox *>();
    QCOMPARE(boxes.size(), 2);
    names << boxes.at(0)->accessibleName() << boxes.at(1)->accessibleName();
    names << page->findChild<QComboBox *>(QStringLiteral("pollInBeginBox"))->accessibleName();

    // Dialogs kept by their panels are named anew when they open.
    QString newField;
    answerNextModal([&newField](QDialog *dialog) {
        const QList<QLineEdit *> fields = dialog->findChildren<QLineEdit *>();
        for (QLineEdit *edit : fields) {
            if (edit->isEnabled())
                newField = accessibleName(edit);
        }
        dialog->reject();
    });
    window->findChild<QWidget *>(QStringLiteral("sceneWidget"))
        ->findChildren<QPushButton *>()
        .last()
        ->actions()
        .first()
        ->trigger();
    names << newField;

    QString subnetPart;
    answerNextModal([&subnetPart](QDialog *dialog) {
        const QList<QWidget *> editors = dialog->findChildren<QWidget *>();
        QList<QWidget *> addressEditors;
        for (QWidget *editor : editors) {
            if (editor->inherits("CIPEdit"))
                addressEditors << editor;
        }
        // The dialog lays out address, subnet mask, gateway in this order.
        if (addressEditors.size() == 3)
            subnetPart = accessibleName(addressEditors.at(1)->findChildren<QLineEdit *>().at(1));
        dialog->reject();
    });
    findByText<QPushButton>(connection, "CConnectFrame", "Add")->click();
    names << subnetPart;

    QCOMPARE(names, expected);
}

void TestAccessibility::everyControlHasAName()
{
    std::unique_ptr<MainWindow> window = startWindow(SimplifiedChinese);
    QStringList unnamed = unnamedControls(window.get());

    auto *switcher = window->findChild<QWidget *>(QStringLiteral("switchWidget"));
    findByText<QPushButton>(switcher, "CSwitcherFrame", "Setting")->click();
    auto *page = window->findChild<AdvancedSetting *>();
    QVERIFY(page);
    unnamed += unnamedControls(page);
    emit page->goBack();

    auto *connection = window->findChild<QWidget *>(QStringLiteral("connectWidget"));
    auto *title = window->findChild<QWidget *>(QStringLiteral("titleWidget"));
    unnamed += unnamedInDialog([&] { findByText<QPushButton>(connection, "CConnectFrame", "Add")->click(); });
    const QList<QAction *> menu = title->findChild<QPushButton *>(QStringLiteral("aboutButton"))->menu()->actions();
    unnamed += unnamedInDialog([&] { menu.value(1)->trigger(); });
    unnamed += unnamedInDialog([&] { menu.value(2)->trigger(); });

    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QLatin1Char('\n'))));
}

// A checked channel tile must not be told from an unchecked one by a hair: its
// fill stands apart (WCAG's 3:1 for controls), its text stays readable (4.5:1),
// and the tile with the keyboard focus shows another border.
void TestAccessibility::tilesShowTheirState()
{
    std::unique_ptr<MainWindow> window = startWindow(English, true);
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    const QList<CheckBoxWithMenu *> tiles = window->findChildren<CheckBoxWithMenu *>();
    QVERIFY(tiles.size() >= 3);
    CheckBoxWithMenu *plain = tiles.at(0);
    CheckBoxWithMenu *checked = tiles.at(1);
    CheckBoxWithMenu *focused = tiles.at(2);
    checked->click();
    QVERIFY(checked->isChecked());
    focused->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(focused->hasFocus());

    const TileLook plainLook = lookOf(plain);
    const TileLook checkedLook = lookOf(checked);
    const TileLook focusedLook = lookOf(focused);
    QVERIFY2(contrast(plainLook.fill, checkedLook.fill) >= 3.0,
             qPrintable(QStringLiteral("fills %1 / %2").arg(plainLook.fill, 0, 16).arg(checkedLook.fill, 0, 16)));
    QVERIFY(contrast(plainLook.text, plainLook.fill) >= 4.5);
    QVERIFY(contrast(checkedLook.text, checkedLook.fill) >= 4.5);
    QVERIFY2(focusedLook.border != plainLook.border,
             qPrintable(QStringLiteral("border %1").arg(plainLook.border, 0, 16)));
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
