#include "app/mainwindow.h"
#include "config/linkparameters.h"
#include "panels/advancedsetting.h"
#include "support/modalhelper.h"
#include "support/testenv.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QResource>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableView>
#include <QTextEdit>
#include <QXmlStreamReader>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

enum Language { SimplifiedChinese = 0, TraditionalChinese = 1, English = 2 };

// "All" stays English only as the timing page's output choice.
const QString AllOutputs = QStringLiteral("All");

QString sourceDir()
{
    return QFileInfo(QStringLiteral(__FILE__)).absoluteDir().absoluteFilePath(QStringLiteral(".."));
}

QString shownText(const QWidget *widget)
{
    if (auto *button = qobject_cast<const QAbstractButton *>(widget))
        return button->text();
    if (auto *label = qobject_cast<const QLabel *>(widget))
        return label->text();
    if (auto *group = qobject_cast<const QGroupBox *>(widget))
        return group->title();
    return QString();
}

QString describe(const QObject *object, const QString &text)
{
    return QStringLiteral("%1[%2] \"%3\"")
        .arg(QString::fromLatin1(object->metaObject()->className()), object->objectName(), text);
}

bool readsEnglish(const QString &text)
{
    // Texts that read the same in every language: the language names, the device's
    // own words and notation, the version, and the device table's headers.
    static const QStringList neverTranslated = {
        QStringLiteral("简体中文"), QStringLiteral("繁体中文"), QStringLiteral("English"),
        QStringLiteral("EDID"), QStringLiteral("DAVUZE roruzud Adider V1.2"), QStringLiteral("Version"),
        QStringLiteral("IP"), QStringLiteral("Port"), QStringLiteral("Alais")};
    // Names of things that Chinese writes in Latin letters as well.
    static const QRegularExpression latinTerms(QStringLiteral("\\b(VGA|IP|MAC)\\b"));
    static const QRegularExpression latinLetters(QStringLiteral("[A-Za-z]"));
    if (neverTranslated.contains(text))
        return false;
    QString rest = text;
    rest.remove(latinTerms);
    return rest.contains(latinLetters);
}

// Every text a widget tree shows, with what shows it: labels, buttons, group
// titles, fields, box items, table headers, window titles and the texts of all
// actions, menus and submenus included.
QStringList englishTexts(QWidget *root)
{
    QStringList found;
    auto check = [&found](const QObject *owner, const QString &text) {
        if (readsEnglish(text))
            found << describe(owner, text);
    };
    QList<QWidget *> widgets = root->findChildren<QWidget *>();
    widgets.prepend(root);
    for (QWidget *widget : qAsConst(widgets)) {
        // Hidden parts are walked when they are shown; menus whenever they could pop up.
        const bool menu = qobject_cast<QMenu *>(widget);
        if (widget != root && !menu && !widget->isVisibleTo(root))
            continue;
        if (widget->isWindow())
            check(widget, widget->windowTitle());
        if (auto *label = qobject_cast<QLabel *>(widget))
            check(label, label->text());
        else if (auto *button = qobject_cast<QAbstractButton *>(widget))
            check(button, button->text());
        else if (auto *group = qobject_cast<QGroupBox *>(widget))
            check(group, group->title());
        else if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
            // The serial port box shows the system's device names.
            if (!qobject_cast<QComboBox *>(edit->parentWidget()))
                check(edit, edit->text());
        }
        else if (auto *menu = qobject_cast<QMenu *>(widget))
            check(menu, menu->title());
        if (auto *box = qobject_cast<QComboBox *>(widget)) {
            for (int i = 0; i < box->count(); ++i) {
                const QString item = box->itemText(i);
                // Serial ports carry the system's device names.
                if (item != AllOutputs && !box->isEditable())
                    check(box, item);
            }
        }
        if (auto *header = qobject_cast<QHeaderView *>(widget)) {
            for (int i = 0; header->model() && i < header->count(); ++i)
                check(header, header->model()->headerData(i, header->orientation()).toString());
        }
        const QList<QAction *> actions = widget->actions();
        for (QAction *action : actions) {
            check(action, action->text());
            if (action->menu())
                check(action->menu(), action->menu()->title());
        }
    }
    return found;
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

// Runs an action that opens a modal dialog, collects what the dialog shows,
// and closes it again (with OK when asked to, so that a device row comes in).
QStringList englishInDialog(const std::function<void()> &open, const char *acceptContext = nullptr,
                            const char *acceptText = nullptr)
{
    QStringList found;
    bool shown = false;
    answerNextModal([&](QDialog *dialog) {
        shown = true;
        found = englishTexts(dialog);
        if (acceptContext) {
            if (QPushButton *ok = findByText<QPushButton>(dialog, acceptContext, acceptText)) {
                ok->click();
                return;
            }
        }
        dialog->reject();
    });
    open();
    if (!shown)
        found << QStringLiteral("no dialog opened");
    return found;
}

} // namespace

class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void lupdateFindsNothingToDo();
    void everyTextIsTranslated_data();
    void everyTextIsTranslated();
    void everythingFitsTheWindow_data();
    void everythingFitsTheWindow();

private:
    // The program's own start-up: resource file, style sheet, window, font.
    std::unique_ptr<MainWindow> startWindow(int language, int channels);
    QStringList englishEverywhere(MainWindow *window);
    static AdvancedSetting *showPollPage(MainWindow *window);

    std::unique_ptr<TestEnv> m_env;
};

void TestTranslations::init()
{
    m_env = std::make_unique<TestEnv>(true);
}

void TestTranslations::cleanup()
{
    m_env.reset();
}

std::unique_ptr<MainWindow> TestTranslations::startWindow(int language, int channels)
{
    m_env->writeFile("AppConfig.ini", QStringLiteral("[General]\nlangType=%1\nincount=%2\noutcount=%2\n")
                                          .arg(language)
                                          .arg(channels)
                                          .toLatin1());
    linkParameters().langType = language;
    QResource::unregisterResource(QStringLiteral("resource.dll"));
    if (!QResource::registerResource(QStringLiteral("resource.dll")))
        qWarning() << "no resource.dll";
    QFile style(QStringLiteral(":/resource/qss/writestyle.qss"));
    if (style.open(QIODevice::ReadOnly))
        qApp->setStyleSheet(QString::fromUtf8(style.readAll()));

    auto window = std::make_unique<MainWindow>();
    QApplication::setFont(QFont(QStringLiteral("微软雅黑")));
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        qWarning() << "window not exposed";
    return window;
}

AdvancedSetting *TestTranslations::showPollPage(MainWindow *window)
{
    auto *switcher = window->findChild<QWidget *>(QStringLiteral("switchWidget"));
    if (QPushButton *setting = findByText<QPushButton>(switcher, "CSwitcherFrame", "Setting"))
        setting->click();
    auto *page = window->findChild<AdvancedSetting *>();
    if (page)
        page->layout()->activate();
    QCoreApplication::processEvents();
    return page;
}

// The window in both of its views, every menu and context menu, and each
// dialog the operator can reach, opened through the panels that own them.
QStringList TestTranslations::englishEverywhere(MainWindow *window)
{
    QStringList found = englishTexts(window);
    if (AdvancedSetting *page = showPollPage(window)) {
        found += englishTexts(page);
        emit page->goBack();
    } else {
        found << QStringLiteral("no poll page");
    }

    auto *scenes = window->findChild<QWidget *>(QStringLiteral("sceneWidget"));
    auto *switcher = window->findChild<QWidget *>(QStringLiteral("switchWidget"));
    auto *connection = window->findChild<QWidget *>(QStringLiteral("connectWidget"));
    auto *title = window->findChild<QWidget *>(QStringLiteral("titleWidget"));
    const QList<QGroupBox *> channelGroups = switcher->findChildren<QGroupBox *>();
    auto renameFirst = [](QWidget *holder) {
        const QList<QAbstractButton *> buttons = holder->findChildren<QAbstractButton *>();
        for (QAbstractButton *button : buttons) {
            const QList<QAction *> actions = button->actions();
            if (!actions.isEmpty()) {
                actions.first()->trigger();
                return;
            }
        }
    };

    found += englishInDialog([&] { renameFirst(scenes); });
    found += englishInDialog([&] { renameFirst(channelGroups.value(0)); });
    found += englishInDialog([&] { renameFirst(channelGroups.value(1)); });
    QMenu *aboutMenu = title->findChild<QPushButton *>(QStringLiteral("aboutButton"))->menu();
    const QList<QAction *> menuActions = aboutMenu->actions();
    found += englishInDialog([&] { menuActions.value(1)->trigger(); });
    found += englishInDialog([&] { menuActions.value(2)->trigger(); });

    // Add brings in a device row (nothing is sent), so that its alias can be set.
    found += englishInDialog([&] { findByText<QPushButton>(connection, "CConnectFrame", "Add")->click(); },
                             "CConfigIPDlg", "OK");
    auto *table = connection->findChild<QTableView *>();
    if (table->model()->rowCount() == 0) {
        found << QStringLiteral("Add brought in no device");
        return found;
    }
    table->setCurrentIndex(table->model()->index(0, 1));
    QMenu *rowMenu = table->findChild<QMenu *>();
    found += englishTexts(rowMenu);
    found += englishInDialog([&] {
        const QList<QAction *> rowActions = rowMenu->actions();
        for (QAction *action : rowActions) {
            if (action->text() == QCoreApplication::translate("CConnectFrame", "Set Alias"))
                action->trigger();
        }
    });
    return found;
}

void TestTranslations::lupdateFindsNothingToDo()
{
    const QString lupdate = QLibraryInfo::location(QLibraryInfo::BinariesPath) + QStringLiteral("/lupdate");
    if (!QFileInfo(lupdate).isExecutable())
        QSKIP("lupdate is not installed");
    const QString sources = sourceDir() + QStringLiteral("/src");
    for (const char *name : {"zh_cn.ts", "zh_tw.ts"}) {
        const QString copy = m_env->filePath(QLatin1String(name));
        QVERIFY(QFile::copy(sourceDir() + QStringLiteral("/translations/") + QLatin1String(name), copy));
        QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);

        // Without -no-obsolete: a text that left the sources is marked, not dropped.
        QProcess run;
        run.start(lupdate, {QStringLiteral("-locations"), QStringLiteral("none"), sources,
                            QStringLiteral("-ts"), copy});
        QVERIFY(run.waitForFinished(60000));
        QCOMPARE(run.exitCode(), 0);

        QFile file(copy);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        QString context;
        QString source;
        QStringList open;
        int messages = 0;
        while (!xml.atEnd()) {
            xml.readNext();
            if (!xml.isStartElement())
                continue;
            if (xml.name() == QLatin1String("name")) {
                context = xml.readElementText();
            } else if (xml.name() == QLatin1String("source")) {
                source = xml.readElementText();
                ++messages;
            } else if (xml.name() == QLatin1String("translation")) {
                const QString type = xml.attributes().value(QStringLiteral("type")).toString();
                const QString text = xml.readElementText();
                if (!type.isEmpty() || text.isEmpty())
                    open << QStringLiteral("%1: %2 / %3 (%4)").arg(QLatin1String(name), context, source, type);
            }
        }
        QVERIFY(!xml.hasError());
        QVERIFY(messages > 0);
        QCOMPARE(open, QStringList());
    }
}

void TestTranslations::everyTextIsTranslated_data()
{
    QTest::addColumn<int>("startLanguage");
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("channels");
    QTest::addColumn<QString>("sample");

    QTest::newRow("zh_cn from the start, 16") << 0 << 0 << 16 << QStringLiteral("矩阵输入");
    QTest::newRow("zh_tw from the start, 64") << 1 << 1 << 64 << QStringLiteral("矩陣輸入");
    QTest::newRow("zh_cn chosen in English, 64") << 2 << 0 << 64 << QStringLiteral("矩阵输入");
    QTest::newRow("zh_tw chosen in zh_cn, 16") << 0 << 1 << 16 << QStringLiteral("矩陣輸入");
}

// Walks everything the operator can see; when the language is chosen at run
// time, every dialog has been opened once before, so that what a panel keeps
// must follow the change too.
void TestTranslations::everyTextIsTranslated()
{
    QFETCH(int, startLanguage);
    QFETCH(int, language);
    QFETCH(int, channels);
    QFETCH(QString, sample);

    std::unique_ptr<MainWindow> window = startWindow(startLanguage, channels);
    if (startLanguage != language) {
        englishEverywhere(window.get());
        auto *title = window->findChild<QWidget *>(QStringLiteral("titleWidget"));
        QMenu *languages = title->findChild<QPushButton *>(QStringLiteral("aboutButton"))->menu()
                               ->actions().first()->menu();
        languages->actions().at(language)->trigger();
        QCOMPARE(linkParameters().langType, language);
    }

    // The language change reaches the widgets through posted events.
    auto *switcher = window->findChild<QWidget *>(QStringLiteral("switchWidget"));
    QTRY_COMPARE(switcher->findChild<QGroupBox *>()->title(), sample);
    const QStringList english = englishEverywhere(window.get());
    QVERIFY2(english.isEmpty(), qPrintable(english.join(QLatin1Char('\n'))));
}

void TestTranslations::everythingFitsTheWindow_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("channels");
    QTest::addColumn<bool>("pollPage");
    for (const int language : {English, SimplifiedChinese, TraditionalChinese}) {
        for (const int channels : {16, 64}) {
            for (const bool pollPage : {false, true}) {
                const QString name = QStringLiteral("%1, %2 channels%3")
                                         .arg(QStringList{"zh_cn", "zh_tw", "en"}.at(language))
                                         .arg(channels)
                                         .arg(pollPage ? QStringLiteral(", poll page") : QString());
                QTest::newRow(qPrintable(name)) << language << channels << pollPage;
            }
        }
    }
}

// The window is a fixed 780 x 700: in every language, at 16 and 64 channels and
// with the poll page up, each text shows whole, nothing is cut off by its
// panel or lies over another control, the eight channel rows need no vertical
// scrolling and the logs keep several lines in view.
void TestTranslations::everythingFitsTheWindow()
{
    QFETCH(int, language);
    QFETCH(int, channels);
    QFETCH(bool, pollPage);

    std::unique_ptr<MainWindow> window = startWindow(language, channels);
    if (pollPage)
        QVERIFY(showPollPage(window.get()));
    window->centralWidget()->layout()->activate();
    QCoreApplication::processEvents();

    QStringList faults;
    const QList<QWidget *> widgets = window->findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        if (!widget->isVisibleTo(window.get()) || widget->isWindow())
            continue;
        bool scrolled = false;
        for (QWidget *up = widget->parentWidget(); up && up != window.get(); up = up->parentWidget())
            scrolled = scrolled || qobject_cast<QAbstractScrollArea *>(up);
        if (scrolled)
            continue;
        const QRect area(widget->mapTo(window.get(), QPoint(0, 0)), widget->size());
        QWidget *parent = widget->parentWidget();
        const QRect parentArea(parent->mapTo(window.get(), QPoint(0, 0)), parent->size());
        // Wholly outside is the switcher's idle action row behind the poll page: not shown.
        if (parentArea.intersects(area) && !parentArea.contains(area))
            faults << QStringLiteral("cut off: ") + describe(widget, shownText(widget));

        const QString text = qobject_cast<QGroupBox *>(widget) ? QString() : shownText(widget);
        // The dots of an IP address editor are narrow labels over its parts by design.
        const bool addressDot = parent->inherits("CIPEdit");
        if (!text.isEmpty() && !addressDot && parentArea.contains(area)
            && (widget->width() < widget->sizeHint().width()
                || widget->height() < widget->sizeHint().height()))
            faults << QStringLiteral("too small for its text: ") + describe(widget, text);
        if (auto *group = qobject_cast<QGroupBox *>(widget)) {
            if (group->width() < group->fontMetrics().horizontalAdvance(group->title()))
                faults << QStringLiteral("title cut: ") + describe(group, group->title());
        }

        // Controls side by side in one parent never cover each other.
        QList<QWidget *> shown;
        for (QObject *object : widget->children()) {
            auto *child = qobject_cast<QWidget *>(object);
            if (child && child->isVisibleTo(window.get()) && !child->isWindow() && !qobject_cast<QLabel *>(child))
                shown << child;
        }
        for (int i = 0; i < shown.size(); ++i) {
            for (int j = i + 1; j < shown.size(); ++j) {
                if (shown.at(i)->geometry().intersects(shown.at(j)->geometry()))
                    faults << QStringLiteral("overlap: ") + describe(shown.at(i), shownText(shown.at(i)))
                                  + QStringLiteral(" / ") + describe(shown.at(j), shownText(shown.at(j)));
            }
        }
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));

    if (!pollPage) {
        auto *switcher = window->findChild<QWidget *>(QStringLiteral("switchWidget"));
        const QList<QScrollArea *> grids = switcher->findChildren<QScrollArea *>();
        QCOMPARE(grids.size(), 2);
        for (QScrollArea *grid : grids) {
            QVERIFY2(!grid->verticalScrollBar()->isVisible(), "eight channel rows need scrolling");
            QCOMPARE(grid->horizontalScrollBar()->isVisible(), channels > 16);
        }
    }
    const QList<QTextEdit *> logs = window->findChildren<QTextEdit *>();
    QCOMPARE(logs.size(), 2);
    for (QTextEdit *log : logs)
        QVERIFY(log->viewport()->height() >= 5 * log->fontMetrics().lineSpacing());
}

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
