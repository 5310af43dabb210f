#include "app/ctitleframe.h"
#include "app/mainwindow.h"
#include "config/linkparameters.h"
#include "support/modalhelper.h"
#include "support/testenv.h"

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

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

    TestEnv m_env{true};

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

    // Matrix ID: the kept dialog shows the current one, only an accepted entry is stored, as a number. About: the
    // notice shows for the exact word only, and stays. A language chosen is stored and announced, the same again not.
    void titleBar()
    {
        linkParameters().langType = 2;
        MainWindow window;
        const struct { const char *typed; bool accept; int id; const char *stored; } entries[] = {
            {"12", true, 12, "12"}, {"1a", true, 0, "0"}, {"9", false, 3, "0"}};
        for (const auto &entry : entries) {
            linkParameters().matrixId = 3;
            QStringList fields;
            answerNextModal([&](QDialog *dialog) {
                for (QLineEdit *field : dialog->findChildren<QLineEdit *>())
                    fields << field->text();
                dialog->findChildren<QLineEdit *>().last()->setText(entry.typed);
                entry.accept ? dialog->accept() : dialog->reject();
            });
            appMenu(&window)->actions().at(1)->trigger();
            QCOMPARE(fields, (QStringList{"Matrix ID 3", "3"}));
            QCOMPARE(linkParameters().matrixId, entry.id);
            QCOMPARE(QSettings("UserData.ini", QSettings::IniFormat).value("id").toString(), QString(entry.stored));
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
        QTest::mouseClick(window.findChild<QPushButton *>("minimizeButton"), Qt::LeftButton);
        QTRY_VERIFY(window.isMinimized());
        QTest::mouseClick(window.findChild<QPushButton *>("closeButton"), Qt::LeftButton);
        QTRY_VERIFY(!window.isVisible());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
