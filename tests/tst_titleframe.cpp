#include "app/caboutversion.h"
#include "app/ctitleframe.h"
#include "config/linkparameters.h"
#include "config/settings.h"
#include "support/modalhelper.h"
#include "support/testenv.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QResource>
#include <QSettings>
#include <QtTest>

#include <memory>

namespace {

const QString Simplified = QStringLiteral("简体中文");
const QString Traditional = QStringLiteral("繁体中文");
const QString English = QStringLiteral("English");

QMenu *aboutMenu(CTitleFrame &frame)
{
    auto *button = frame.findChild<QPushButton *>(QStringLiteral("aboutButton"));
    return button ? button->menu() : nullptr;
}

QAction *menuAction(CTitleFrame &frame, const QString &text)
{
    const auto actions = aboutMenu(frame)->actions();
    for (QAction *action : actions) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

// The one submenu of the about menu, whatever its title reads in the current language.
QMenu *languageMenu(CTitleFrame &frame)
{
    const auto actions = aboutMenu(frame)->actions();
    for (QAction *action : actions) {
        if (action->menu())
            return action->menu();
    }
    return nullptr;
}

QAction *languageAction(CTitleFrame &frame, const QString &text)
{
    const auto actions = languageMenu(frame)->actions();
    for (QAction *action : actions) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

QStringList checkedLanguages(CTitleFrame &frame)
{
    QStringList checked;
    const auto actions = languageMenu(frame)->actions();
    for (QAction *action : actions) {
        if (action->isChecked())
            checked << action->text();
    }
    return checked;
}

void storeLanguage(int code)
{
    setLangType(code);
    linkParameters().langType = code;
}

QVariant storedMatrixId()
{
    return QSettings(QStringLiteral("UserData.ini"), QSettings::IniFormat).value(QStringLiteral("id"));
}

void answerMatrixId(const QString &text, bool accept, QString *shownTitle = nullptr)
{
    answerNextModal([text, accept, shownTitle](QDialog *dialog) {
        if (shownTitle)
            *shownTitle = dialog->windowTitle();
        const auto edits = dialog->findChildren<QLineEdit *>();
        for (QLineEdit *edit : edits) {
            if (edit->isEnabled())
                edit->setText(text);
        }
        const auto buttons = dialog->findChildren<QPushButton *>();
        for (QPushButton *button : buttons) {
            if (button->text() == (accept ? QStringLiteral("Ok") : QStringLiteral("Cancel")))
                QTest::mouseClick(button, Qt::LeftButton);
        }
    });
}

QPixmap shownLogo(CTitleFrame &frame)
{
    return frame.findChild<QLabel *>(QStringLiteral("titleLabel"))->pixmap(Qt::ReturnByValue);
}

void sendMouse(QWidget *widget, QEvent::Type type, Qt::MouseButton button, const QPointF &screenPos)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, QPointF(5, 5), screenPos, type == QEvent::MouseMove ? Qt::NoButton : button,
                      held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

} // namespace

class TestTitleFrame : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void controls();
    void startLanguageCheck_data();
    void startLanguageCheck();
    void choosingLanguage_data();
    void choosingLanguage();
    void retranslates();
    void matrixId_data();
    void matrixId();
    void logo_data();
    void logo();
    void dragging_data();
    void dragging();
    void minimiseAndClose();
    void copyrightOpensFreshDialog();

private:
    std::unique_ptr<TestEnv> m_env;
};

void TestTitleFrame::initTestCase()
{
    m_env = std::make_unique<TestEnv>(true);
    QVERIFY(QResource::registerResource(m_env->filePath(QStringLiteral("resource.dll"))));
}

void TestTitleFrame::controls()
{
    CTitleFrame frame;
    QCOMPARE(frame.height(), 40);
    for (const char *name : {"aboutButton", "minimizeButton", "closeButton"}) {
        auto *button = frame.findChild<QPushButton *>(QLatin1String(name));
        QVERIFY2(button, name);
        QVERIFY(button->text().isEmpty());
    }
    QVERIFY(frame.findChild<QLabel *>(QStringLiteral("titleLabel")));
    QStringList entries;
    const auto actions = aboutMenu(frame)->actions();
    for (QAction *action : actions)
        entries << action->text();
    QCOMPARE(entries, (QStringList{QStringLiteral("Language"), QStringLiteral("Matrix ID"),
                                   QStringLiteral("Copyright")}));
    QStringList languages;
    const auto languageActions = languageMenu(frame)->actions();
    for (QAction *action : languageActions) {
        QVERIFY(action->isCheckable());
        languages << action->text();
    }
    QCOMPARE(languages, (QStringList{Simplified, Traditional, English}));
}

void TestTitleFrame::startLanguageCheck_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<QStringList>("checked");
    QTest::newRow("simplified") << 0 << QStringList{Simplified};
    QTest::newRow("traditional") << 1 << QStringList{Traditional};
    QTest::newRow("english") << 2 << QStringList{English};
    QTest::newRow("unknown 7") << 7 << QStringList();
    QTest::newRow("negative") << -1 << QStringList();
}

void TestTitleFrame::startLanguageCheck()
{
    QFETCH(int, stored);
    QFETCH(QStringList, checked);
    storeLanguage(stored);
    CTitleFrame frame;
    QCOMPARE(checkedLanguages(frame), checked);
}

void TestTitleFrame::choosingLanguage_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<int>("emitted");
    QTest::newRow("english to traditional") << 2 << Traditional << 1;
    QTest::newRow("unknown to simplified") << 7 << Simplified << 0;
    QTest::newRow("simplified to english") << 0 << English << 2;
    QTest::newRow("traditional again") << 1 << Traditional << -1;
}

void TestTitleFrame::choosingLanguage()
{
    QFETCH(int, stored);
    QFETCH(QString, chosen);
    QFETCH(int, emitted);
    storeLanguage(stored);
    CTitleFrame frame;
    QSignalSpy spy(&frame, &CTitleFrame::changLang);

    languageAction(frame, chosen)->trigger();
    const int expectedCode = emitted < 0 ? stored : emitted;
    QCOMPARE(spy.count(), emitted < 0 ? 0 : 1);
    if (emitted >= 0)
        QCOMPARE(spy.takeFirst().at(0).toInt(), emitted);
    QCOMPARE(getLangType(), expectedCode);
    QCOMPARE(linkParameters().langType, expectedCode);
    QCOMPARE(checkedLanguages(frame), QStringList{chosen});

    // The same language once more: still checked, nothing stored or announced.
    languageAction(frame, chosen)->trigger();
    QCOMPARE(spy.count(), 0);
    QCOMPARE(checkedLanguages(frame), QStringList{chosen});
}

void TestTitleFrame::retranslates()
{
    storeLanguage(2);
    CTitleFrame frame;
    QTranslator traditional;
    QVERIFY(traditional.load(m_env->filePath(QStringLiteral("Lang/zh_tw.qm"))));
    QApplication::installTranslator(&traditional);
    QTRY_VERIFY(menuAction(frame, QStringLiteral("語言")));
    QVERIFY(menuAction(frame, QStringLiteral("矩陣編號")));
    // Language names are always written in their own language.
    QVERIFY(languageAction(frame, English));
    QVERIFY(languageAction(frame, Simplified));
    QApplication::removeTranslator(&traditional);
    QTRY_VERIFY(menuAction(frame, QStringLiteral("Copyright")));
}

void TestTitleFrame::matrixId_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QVariant>("stored");
    QTest::newRow("five") << QStringLiteral("5") << true << QVariant(5);
    QTest::newRow("not a number") << QStringLiteral("abc") << true << QVariant(0);
    QTest::newRow("cancel") << QStringLiteral("9") << false << QVariant();
}

void TestTitleFrame::matrixId()
{
    QFETCH(QString, typed);
    QFETCH(bool, accept);
    QFETCH(QVariant, stored);
    QFile::remove(m_env->filePath(QStringLiteral("UserData.ini")));
    linkParameters().matrixId = 1;

    CTitleFrame frame;
    QString title;
    answerMatrixId(typed, accept, &title);
    menuAction(frame, QStringLiteral("Matrix ID"))->trigger();
    QCOMPARE(title, QStringLiteral("Matrix ID Setting"));
    if (stored.isValid()) {
        QCOMPARE(storedMatrixId().toInt(), stored.toInt());
        QCOMPARE(linkParameters().matrixId, stored.toInt());
    } else {
        QVERIFY(!storedMatrixId().isValid());
        QCOMPARE(linkParameters().matrixId, 1);
    }
}

void TestTitleFrame::logo_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("resource");
    QTest::addColumn<bool>("withFile");
    QTest::newRow("type 0") << 0 << QStringLiteral(":/resource/Logo/mq_logo.png") << true;
    QTest::newRow("type 1") << 1 << QStringLiteral(":/resource/Logo/VavIDAD.png") << true;
    QTest::newRow("type 5, logo.png") << 5 << QString() << true;
    QTest::newRow("type 5, no logo.png") << 5 << QString() << false;
}

void TestTitleFrame::logo()
{
    QFETCH(int, type);
    QFETCH(QString, resource);
    QFETCH(bool, withFile);
    const QString own = m_env->filePath(QStringLiteral("logo.png"));
    QFile::remove(own);
    QImage ownImage(50, 20, QImage::Format_RGB32);
    ownImage.fill(Qt::red);
    if (withFile)
        QVERIFY(ownImage.save(own));
    linkParameters().type = type;

    CTitleFrame frame;
    const QPixmap shown = shownLogo(frame);
    if (!resource.isEmpty()) {
        const QPixmap expected(resource);
        QVERIFY(!expected.isNull());
        QCOMPARE(shown.toImage(), expected.toImage());
    } else if (withFile) {
        QCOMPARE(shown.toImage().convertToFormat(QImage::Format_RGB32), ownImage);
    } else {
        QVERIFY(shown.isNull());
        QVERIFY(frame.findChild<QLabel *>(QStringLiteral("titleLabel"))->text().isEmpty());
    }
    QVERIFY(frame.findChild<QLabel *>(QStringLiteral("titleLabel"))->hasScaledContents());
    linkParameters().type = 0;
}

void TestTitleFrame::dragging_data()
{
    QTest::addColumn<int>("buttonValue");
    QTest::newRow("left") << int(Qt::LeftButton);
    QTest::newRow("right") << int(Qt::RightButton);
    QTest::newRow("middle") << int(Qt::MiddleButton);
}

void TestTitleFrame::dragging()
{
    QFETCH(int, buttonValue);
    const auto button = static_cast<Qt::MouseButton>(buttonValue);
    QWidget window;
    auto *frame = new CTitleFrame(&window);
    window.move(100, 100);
    const QPoint start = window.pos();

    // A move without a press first does nothing.
    sendMouse(frame, QEvent::MouseMove, Qt::NoButton, QPointF(150, 150));
    QCOMPARE(window.pos(), start);

    sendMouse(frame, QEvent::MouseButtonPress, button, QPointF(200.4, 300.4));
    sendMouse(frame, QEvent::MouseMove, button, QPointF(230.6, 320.6));
    // Global positions round to the nearest pixel: (200, 300) to (231, 321).
    QCOMPARE(window.pos(), start + QPoint(31, 21));
    sendMouse(frame, QEvent::MouseMove, button, QPointF(221.0, 341.0));
    QCOMPARE(window.pos(), start + QPoint(21, 41));
    sendMouse(frame, QEvent::MouseButtonRelease, button, QPointF(221.0, 341.0));
    sendMouse(frame, QEvent::MouseMove, Qt::NoButton, QPointF(400, 400));
    QCOMPARE(window.pos(), start + QPoint(21, 41));
}

void TestTitleFrame::minimiseAndClose()
{
    QWidget window;
    auto *frame = new CTitleFrame(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::mouseClick(frame->findChild<QPushButton *>(QStringLiteral("minimizeButton")), Qt::LeftButton);
    QTRY_VERIFY(window.isMinimized());
    window.showNormal();
    QTest::mouseClick(frame->findChild<QPushButton *>(QStringLiteral("closeButton")), Qt::LeftButton);
    QTRY_VERIFY(!window.isVisible());
}

void TestTitleFrame::copyrightOpensFreshDialog()
{
    QWidget window;
    auto *frame = new CTitleFrame(&window);
    QAction *copyright = menuAction(*frame, QStringLiteral("Copyright"));

    bool firstRevealed = false;
    answerNextModal([&firstRevealed](QDialog *dialog) {
        QVERIFY(qobject_cast<CAboutversion *>(dialog));
        auto *field = dialog->findChild<QLineEdit *>();
        QTest::keyClicks(field, QStringLiteral("supplier"));
        QTest::keyClick(field, Qt::Key_Return);
        const auto labels = dialog->findChildren<QLabel *>();
        for (QLabel *label : labels)
            firstRevealed = firstRevealed || (label->text().contains(QLatin1String("Matrix Controller project"))
                                              && !label->isHidden());
        dialog->reject();
    });
    copyright->trigger();
    QVERIFY(firstRevealed);

    bool secondHidden = false;
    QString secondField = QStringLiteral("unset");
    answerNextModal([&secondHidden, &secondField](QDialog *dialog) {
        secondField = dialog->findChild<QLineEdit *>()->text();
        const auto labels = dialog->findChildren<QLabel *>();
        for (QLabel *label : labels) {
            if (label->text().contains(QLatin1String("Matrix Controller project")))
                secondHidden = label->isHidden();
        }
        dialog->reject();
    });
    copyright->trigger();
    QVERIFY(secondHidden);
    QCOMPARE(secondField, QString());
    // Closed dialogs do not pile up in the window.
    QCOMPARE(window.findChildren<CAboutversion *>().size(), 0);
}

QTEST_MAIN(TestTitleFrame)
#include "tst_titleframe.moc"
