#include "app/mainwindow.h"
#include "config/linkparameters.h"
#include "support/modalhelper.h"
#include "support/testenv.h"
#include "widgets/buttonwithmenu.h"

#include <QtTest>
#include <QtWidgets>

namespace {

bool holds(QLayout *layout, QWidget *w)
{
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem *item = layout->itemAt(i);
        if (item->widget() == w || (item->layout() && holds(item->layout(), w)))
            return true;
    }
    return false;
}

// Faults under root: English left in Chinese (accessible names and menus included), a control that
// neither shows nor names anything, a text that does not fit, siblings that overlap.
void look(QWidget *root, bool chinese, QStringList *faults)
{
    // Whole texts that read the same in every language, and Latin names that Chinese keeps.
    static const QStringList same = {"English", "EDID", "DAVUZE roruzud Adider V1.2", "Version", "IP", "Port", "Alais", "All"};
    static const QRegularExpression kept("\\b(VGA|IP|MAC)\\b"), latin("[A-Za-z]");
    const QWidgetList widgets = root->findChildren<QWidget *>() << root;
    QHash<QString, bool> names; // two controls of one group announced alike cannot be told apart
    for (QWidget *w : widgets) {
        if (!w->inherits("QMenu") && w != root && !w->isVisibleTo(root))
            continue;
        auto *group = qobject_cast<QGroupBox *>(w);
        const bool shows = w->inherits("QLabel") || w->inherits("QAbstractButton");
        const QString own = group ? group->title() : shows ? w->property("text").toString() : QString();
        QStringList texts = {own, w->windowTitle(), w->accessibleName(), w->property("title").toString()};
        for (QAction *action : w->actions())
            texts << action->text();
        for (const QString &text : qAsConst(texts)) {
            if (chinese && !same.contains(text) && QString(text).remove(kept).contains(latin))
                *faults << "English: " + text;
        }
        if ((w->focusPolicy() & Qt::TabFocus) && own.isEmpty() && w->accessibleName().isEmpty()
            && !qobject_cast<QScrollArea *>(w) && !qobject_cast<QComboBox *>(w->parentWidget()))
            *faults << QString("no name: ") + w->metaObject()->className();
        if (!w->isWindow() && !w->isHidden() && !w->parentWidget()->inherits("QMainWindow") && w->parentWidget()->layout()
            && !holds(w->parentWidget()->layout(), w))
            *faults << QString("outside its layout: ") + w->metaObject()->className() + " " + own;
        QWidget *box = w->window();
        for (QWidget *up = w; box == w->window() && up != box; up = up->parentWidget())
            box = qobject_cast<QGroupBox *>(up) ? up : box;
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(root) && !w->accessibleName().isEmpty()
            && std::exchange(names[QString::number(quintptr(box)) + w->accessibleName()], true))
            *faults << "named alike: " + w->accessibleName();
        // The dots of an address field lie over its parts by design.
        if (w->isWindow() || w->parentWidget()->inherits("CIPEdit"))
            continue;
        const QSize need = group ? QSize(group->fontMetrics().horizontalAdvance(own), 0) : w->sizeHint();
        if (!own.isEmpty() && (w->width() < need.width() || w->height() < need.height()))
            *faults << "too small: " + own;
        const QObjectList siblings = w->parentWidget()->children();
        for (QObject *other : siblings.mid(0, siblings.indexOf(w))) {
            auto *sibling = qobject_cast<QWidget *>(other);
            if (sibling && sibling->isVisibleTo(root) && !sibling->isWindow() && sibling->geometry().intersects(w->geometry()))
                *faults << QString("overlap: ") + w->metaObject()->className() + " " + own + " / " + sibling->metaObject()->className();
        }
    }
}

// What the layout code decides that no font changes, one line per layout, spacer and widget: margins and spacing,
// place in the layout (cell, stretch, alignment), shown, enabled, size policy, focus, set sizes, hand-placed geometry,
// style sheet, accessible name, and the properties that make a field or a view behave.
void plan(QWidget *w, const QString &indent, QStringList *lines);

void plan(QLayout *layout, const QString &indent, QStringList *lines)
{
    const QMargins m = layout->contentsMargins();
    *lines << indent + layout->metaObject()->className()
            + QString::asprintf(" %d,%d,%d,%d,%d", m.left(), m.top(), m.right(), m.bottom(), layout->spacing());
    auto *box = qobject_cast<QBoxLayout *>(layout);
    auto *grid = qobject_cast<QGridLayout *>(layout);
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem *item = layout->itemAt(i);
        int cell[4] = {};
        if (grid)
            grid->getItemPosition(i, &cell[0], &cell[1], &cell[2], &cell[3]);
        const int at = lines->size();
        if (QSpacerItem *spacer = item->spacerItem())
            *lines << indent + QString::asprintf("  spacer %d,%d,%d", spacer->sizeHint().width(), spacer->sizeHint().height(),
                                                 int(spacer->expandingDirections()));
        else if (item->layout())
            plan(item->layout(), indent + "  ", lines);
        else
            plan(item->widget(), indent + "  ", lines);
        (*lines)[at] += QString::asprintf(" in %d,%d,%d,%d,%d,%d", cell[0], cell[1], cell[2], cell[3], box ? box->stretch(i) : 0,
                                          int(item->alignment()));
    }
}

void plan(QWidget *w, const QString &indent, QStringList *lines)
{
    // A window's least size comes from its contents, a button's least width from its text unless fixed.
    const bool sized = !w->isWindow(), textWide = !sized || (qobject_cast<QAbstractButton *>(w) && w->minimumWidth() != w->maximumWidth());
    QString line = indent + w->metaObject()->className() + " " + w->objectName() + " "
        + QString::asprintf("%d,%d,%d,%d,%d,%d,%d,%d,%d", w->isVisibleTo(w->window()), w->isEnabled(),
                            w->sizePolicy().horizontalPolicy(), w->sizePolicy().verticalPolicy(), w->focusPolicy(),
                            textWide ? -1 : w->minimumWidth(), sized ? w->minimumHeight() : -1, sized ? w->maximumWidth() : -1,
                            sized ? w->maximumHeight() : -1)
        // A field's own sheet may follow its focus, which the platform hands out when it will.
        + " " + (w->focusPolicy() == Qt::NoFocus ? QCryptographicHash::hash(w->styleSheet().toUtf8(), QCryptographicHash::Md5).toHex().left(6) : "-")
        + " '" + w->accessibleName() + "'";
    for (const char *property : {"alignment", "readOnly", "maxLength", "checkable", "autoDefault", "default", "flat",
                                 "selectionBehavior", "selectionMode", "editTriggers", "wordWrap", "frameShape"}) {
        if (w->metaObject()->indexOfProperty(property) >= 0)
            line += QString(" %1=%2").arg(property).arg(w->property(property).toInt());
    }
    if (auto *combo = qobject_cast<QComboBox *>(w))
        line += QString(" view=") + combo->view()->metaObject()->className(); // the popup's list
    if (auto *label = qobject_cast<QLabel *>(w); label && label->buddy())
        line += " buddy=" + label->buddy()->accessibleName();
    if (auto *table = qobject_cast<QTableView *>(w))
        for (int i = 0; i < table->horizontalHeader()->count(); ++i)
            line += QString(" column=%1").arg(table->horizontalHeader()->sectionResizeMode(i));
    *lines << line;
    if (auto *main = qobject_cast<QMainWindow *>(w))
        plan(main->centralWidget(), indent + "  ", lines);
    else if (w->layout())
        plan(w->layout(), indent + "  ", lines);
    else if (auto *area = qobject_cast<QScrollArea *>(w); area && area->widget())
        plan(area->widget(), indent + "  ", lines);
    else if (!QByteArray(w->metaObject()->className()).startsWith('Q'))
        for (QWidget *child : w->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
            const int at = lines->size();
            plan(child, indent + "  ", lines); // placed by hand
            (*lines)[at] += QString::asprintf(" at %d,%d,%d,%d", child->x(), child->y(), child->width(), child->height());
        }
}

} // namespace

class TestTranslations : public QObject
{
    Q_OBJECT

    TestEnv m_env{true};

private slots:
    // As the program starts: the style bundle, its style sheet and the font.
    void initTestCase()
    {
        QFile style(":/resource/qss/writestyle.qss");
        QVERIFY(QResource::registerResource("resource.dll") && style.open(QIODevice::ReadOnly));
        qApp->setStyleSheet(QString::fromUtf8(style.readAll()));
        QApplication::setFont(QFont("微软雅黑"));
    }

    void lupdateFindsNothingNew()
    {
        for (const QString ts : {"zh_cn.ts", "zh_tw.ts"}) {
            QVERIFY(QFile::copy(QStringLiteral(MC_SOURCE_DIR "/translations/") + ts, ts));
            QCOMPARE(QProcess::execute(MC_LUPDATE,
                                       {"-silent", "-locations", "none", QStringLiteral(MC_SOURCE_DIR "/src"), "-ts", ts}), 0);
            QVERIFY2(!QString::fromUtf8(m_env.readFile(ts)).contains(QRegularExpression("type=|<translation></translation>")), qPrintable(ts));
        }
    }

    // Where each control the operator sees sits in the window.
QStringList placed(QWidget *window)
{
    QStringList lines;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (w->isVisibleTo(window) && !w->isWindow())
            lines << QString("%1 %2 %3 %4,%5").arg(w->metaObject()->className(), w->objectName(), w->accessibleName())
                         .arg(w->mapTo(window, QPoint()).x()).arg(w->mapTo(window, QPoint()).y())
                  + QString(" %1x%2").arg(w->width()).arg(w->height());
    }
    return lines;
}

// The plan of what shows, without the texts, which differ by language: the accessible names and buddies.
QStringList textless(const QStringList &plan)
{
    static const QRegularExpression name("'[^']*'"), buddy(" buddy=.*$"), hidden("^( *)\\S+ \\S* 0,");
    QStringList lines;
    int hiddenDepth = -1; // the indent of a hidden widget whose lines are left out
    for (QString line : plan) {
        const int depth = line.indexOf(QRegularExpression("\\S"));
        if (hiddenDepth >= 0 && depth > hiddenDepth)
            continue;
        hiddenDepth = line.contains(hidden) ? depth : -1;
        if (hiddenDepth < 0)
            lines << line.replace(name, "''").replace(buddy, " buddy");
    }
    return lines;
}

// English, Chinese and Traditional Chinese at 16 and 64 channels, from the start and chosen in the menu: the window,
    // the poll page, each dialog (kept ones too). The window is laid out after the poll page and back as at start, and
    // alike in every language but for its texts. With MC_LAYOUT set (./test --layout), the English plan at 16 channels
    // is also compared with the stored one, for layout work.
    void everyTextInEveryLanguage()
    {
        QStringList firstLanguage; // the textless plans at 16 channels of the first language seen
        const bool stored = qEnvironmentVariableIsSet("MC_LAYOUT") || qEnvironmentVariableIsSet("MC_BLUEPRINT");
        const struct { int from, language, channels; } cases[] = {{0, 2, 64}, {1, 1, 16}, {2, 0, 16}, {2, 1, 64}};
        for (const auto &c : cases) {
            TestEnv env(true);
            env.writeFile("AppConfig.ini",
                          QString("[General]\nlangType=%1\nincount=%2\noutcount=%2\n").arg(c.from).arg(c.channels).toLatin1());
            linkParameters().langType = c.from;
            MainWindow window;
            window.show();
            QMenu *menu = window.findChild<QPushButton *>("aboutButton")->menu();
            QStringList faults, plans;
            for (const int shown : QVector<int>{c.from, c.language}.mid(0, c.from == c.language ? 1 : 2)) {
                if (shown != c.from)
                    menu->actions().first()->menu()->actions().at(shown)->trigger();
                // The change reaches the panels, and their new texts the layouts, in posted events.
                for (int round = 0; round < 3; ++round)
                    QCoreApplication::processEvents();
                // English takes every Chinese text back, down to the menus.
                static const QRegularExpression chinese("[\\x{4e00}-\\x{9fff}]");
                for (QAction *action : menu->actions())
                    QVERIFY2(shown != 2 || !action->text().contains(chinese), qPrintable(action->text()));
                QStringList shownPlans;
                const auto check = [&](QWidget *root) {
                    look(root, shown != 2, &faults);
                    QStringList lines;
                    plan(root, QString(), &lines);
                    if (stored && shown == 2 && c.channels == 16)
                        plans << lines;
                    shownPlans << lines;
                    return lines;
                };
                check(&window);
                const QStringList placedAtStart = placed(&window);
                for (const char *page : {"clickSetting", "goBack", "clickSetting", "goBack"}) { // the poll page and back, twice
                    QVERIFY(QMetaObject::invokeMethod(window.findChild<QWidget *>("switchWidget"), page));
                    check(&window);
                    QCoreApplication::processEvents(); // the layouts settle in posted events
                    if (QByteArray(page) == "goBack")
                        QCOMPARE(placed(&window), placedAtStart);
                }
                const auto visit = [&](QDialog *dialog) { check(dialog); dialog->reject(); };
                for (QAction *opener : {window.findChild<ButtonWithMenu *>()->actions().first(), menu->actions().at(1),
                                        menu->actions().at(2)}) {
                    answerNextModal(visit);
                    opener->trigger();
                }
                answerNextModal(visit);
                QVERIFY(QMetaObject::invokeMethod(window.findChild<QWidget *>("connectWidget"), "onAdd"));
                if (c.channels == 16 && firstLanguage.isEmpty())
                    firstLanguage = textless(shownPlans);
                else if (c.channels == 16)
                    QCOMPARE(textless(shownPlans), firstLanguage);
            }
            QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
            if (plans.isEmpty())
                continue;
            // After an intended layout change, MC_BLUEPRINT=1 writes the plan anew, for the change to be read in the diff.
            QFile stored(QStringLiteral(MC_SOURCE_DIR "/tests/data/blueprint.txt"));
            if (qEnvironmentVariableIsSet("MC_BLUEPRINT") && stored.open(QIODevice::WriteOnly))
                stored.write(plans.join('\n').toUtf8() + '\n');
            stored.close();
            QVERIFY(stored.open(QIODevice::ReadOnly));
            const QStringList expected = QString::fromUtf8(stored.readAll()).split('\n');
            for (int i = 0; i <= plans.size(); ++i)
                QCOMPARE(plans.value(i), expected.value(i));
        }
    }
};

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
