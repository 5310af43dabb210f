#include "app/mainwindow.h"
#include "config/linkparameters.h"
#include "support/modalhelper.h"
#include "support/testenv.h"
#include "widgets/buttonwithmenu.h"

#include <QtTest>
#include <QtWidgets>

namespace {

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
            QVERIFY(QFile::copy(QFileInfo(__FILE__).path() + "/../translations/" + ts, ts));
            QCOMPARE(QProcess::execute(MC_LUPDATE,
                                       {"-silent", "-locations", "none", QFileInfo(__FILE__).path() + "/../src", "-ts", ts}), 0);
            QVERIFY2(!QString::fromUtf8(m_env.readFile(ts)).contains(QRegularExpression("type=|<translation></translation>")), qPrintable(ts));
        }
    }

    // English, Chinese and Traditional Chinese at 16 and 64 channels, from the start and chosen in the menu: the window,
    // the poll page, each dialog (kept ones too). A control that no layout took in has no parent, and never shows.
    void everyTextInEveryLanguage()
    {
        const struct { int from, language, channels; } cases[] = {{0, 0, 64}, {1, 1, 16}, {2, 0, 16}, {2, 1, 64}};
        for (const auto &c : cases) {
            TestEnv env(true);
            env.writeFile("AppConfig.ini",
                          QString("[General]\nlangType=%1\nincount=%2\noutcount=%2\n").arg(c.from).arg(c.channels).toLatin1());
            linkParameters().langType = c.from;
            MainWindow window;
            window.show();
            QMenu *menu = window.findChild<QPushButton *>("aboutButton")->menu();
            QStringList faults;
            for (const int shown : QVector<int>{c.from, c.language}.mid(0, c.from == c.language ? 1 : 2)) {
                if (shown != c.from)
                    menu->actions().first()->menu()->actions().at(shown)->trigger();
                // The change reaches the panels, and their new texts the layouts, in posted events.
                for (int round = 0; round < 3; ++round)
                    QCoreApplication::processEvents();
                look(&window, shown != 2, &faults);
                QVERIFY(QMetaObject::invokeMethod(window.findChild<QWidget *>("switchWidget"), "clickSetting"));
                look(&window, shown != 2, &faults);
                QVERIFY(QMetaObject::invokeMethod(window.findChild<QWidget *>("switchWidget"), "goBack"));
                const auto visit = [&](QDialog *dialog) {
                    look(dialog, shown != 2, &faults);
                    dialog->reject();
                };
                for (QAction *opener : {window.findChild<ButtonWithMenu *>()->actions().first(), menu->actions().at(1),
                                        menu->actions().at(2)}) {
                    answerNextModal(visit);
                    opener->trigger();
                }
                answerNextModal(visit);
                QVERIFY(QMetaObject::invokeMethod(window.findChild<QWidget *>("connectWidget"), "onAdd"));
            }
            for (QWidget *top : QApplication::topLevelWidgets()) {
                if (!top->parentWidget() && top != &window)
                    faults << QString("outside the window: ") + top->metaObject()->className();
            }
            QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
        }
    }
};

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
