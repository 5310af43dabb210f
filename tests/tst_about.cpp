#include "app/caboutversion.h"
#include "support/testenv.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QResource>
#include <QtTest>

#include <memory>

namespace {

const QString VersionText = QStringLiteral("DAVUZE roruzud Adider V1.2");

QLabel *noticeLabel(QDialog &dialog)
{
    const auto labels = dialog.findChildren<QLabel *>();
    for (QLabel *label : labels) {
        if (label->text() != VersionText)
            return label;
    }
    return nullptr;
}

void enter(QDialog &dialog, const QString &word)
{
    auto *field = dialog.findChild<QLineEdit *>();
    field->clear();
    QTest::keyClicks(field, word);
    QTest::keyClick(field, Qt::Key_Return);
}

} // namespace

class TestAbout : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void shape();
    void accessWord_data();
    void accessWord();
    void correctWordTwiceKeepsNotice();

private:
    std::unique_ptr<TestEnv> m_env;
};

// The dialog is checked as the operator sees it: with the program's style sheet.
void TestAbout::initTestCase()
{
    m_env = std::make_unique<TestEnv>(true);
    QVERIFY(QResource::registerResource(m_env->filePath(QStringLiteral("resource.dll"))));
    QFile style(QStringLiteral(":/resource/qss/writestyle.qss"));
    QVERIFY(style.open(QIODevice::ReadOnly));
    qApp->setStyleSheet(QString::fromUtf8(style.readAll()));
}

void TestAbout::shape()
{
    CAboutversion dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Version"));
    QCOMPARE(dialog.size(), QSize(340, 120));
    QCOMPARE(dialog.findChildren<QLabel *>().size(), 2);
    QLabel *notice = noticeLabel(dialog);
    QVERIFY(notice);
    QVERIFY(notice->isHidden());
    const QStringList lines = notice->text().split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines.at(0).contains(QLatin1String("Matrix Controller project")));
    QCOMPARE(dialog.findChild<QLineEdit *>()->text(), QString());
}

void TestAbout::accessWord_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("revealed");
    QTest::newRow("exact") << QStringLiteral("supplier") << true;
    QTest::newRow("capital") << QStringLiteral("Supplier") << false;
    QTest::newRow("upper case") << QStringLiteral("SUPPLIER") << false;
    QTest::newRow("leading blank") << QStringLiteral(" supplier") << false;
    QTest::newRow("trailing blank") << QStringLiteral("supplier ") << false;
    QTest::newRow("longer") << QStringLiteral("suppliers") << false;
    QTest::newRow("empty") << QString() << false;
}

void TestAbout::accessWord()
{
    QFETCH(QString, word);
    QFETCH(bool, revealed);
    CAboutversion dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    enter(dialog, word);
    QLabel *notice = noticeLabel(dialog);
    QCOMPARE(notice->isVisible(), revealed);
    // A wrong word stays in the field for the operator to correct.
    QCOMPARE(dialog.findChild<QLineEdit *>()->text(), word);
    QVERIFY(dialog.isVisible());
    if (revealed) {
        // The two lines fit inside the fixed-size dialog.
        const QString where = QStringLiteral("notice %1,%2 %3x%4, wants height %5")
                                  .arg(notice->x()).arg(notice->y()).arg(notice->width())
                                  .arg(notice->height()).arg(notice->sizeHint().height());
        QVERIFY2(dialog.rect().contains(notice->geometry()), qPrintable(where));
        QVERIFY2(notice->height() >= notice->sizeHint().height(), qPrintable(where));
    }
}

void TestAbout::correctWordTwiceKeepsNotice()
{
    CAboutversion dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    enter(dialog, QStringLiteral("Supplier"));
    enter(dialog, QStringLiteral("supplier"));
    QVERIFY(noticeLabel(dialog)->isVisible());
    enter(dialog, QStringLiteral("supplier"));
    QVERIFY(noticeLabel(dialog)->isVisible());
    enter(dialog, QStringLiteral("wrong"));
    QVERIFY(noticeLabel(dialog)->isVisible());
}

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
