#include "setup/caliassetting.h"
#include "support/modalhelper.h"
#include "support/testenv.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTranslator>
#include <QtTest>

#include <memory>

namespace {

QLineEdit *defaultField(QDialog *dialog) { return dialog->findChildren<QLineEdit *>().at(0); }
QLineEdit *newField(QDialog *dialog) { return dialog->findChildren<QLineEdit *>().at(1); }
QLabel *defaultLabel(QDialog *dialog) { return dialog->findChildren<QLabel *>().at(0); }

QPushButton *button(QDialog *dialog, const QString &text)
{
    for (QPushButton *candidate : dialog->findChildren<QPushButton *>()) {
        if (candidate->text() == text)
            return candidate;
    }
    return nullptr;
}

} // namespace

class TestAliasDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_env = std::make_unique<TestEnv>(true); }
    void cleanup() { QApplication::removeTranslator(&m_translator); }

    void modes_data();
    void modes();
    void unknownModeKeepsTexts();
    void aliasFallsBackToDefault();
    void execResults_data();
    void execResults();
    void defaultLabelSpellingFollowsLanguageChange();
    void languageChangeKeepsMode();
    void sameDialogChangesMode();

private:
    void installChinese()
    {
        QVERIFY(m_translator.load(m_env->filePath(QStringLiteral("Lang/zh_cn.qm"))));
        QApplication::installTranslator(&m_translator);
    }

    std::unique_ptr<TestEnv> m_env;
    QTranslator m_translator;
};

void TestAliasDialog::modes_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("defaultText");
    QTest::newRow("scene") << 0 << QStringLiteral("Scene Alias") << QStringLiteral("Scene 3");
    QTest::newRow("input") << 1 << QStringLiteral("Matrix In Alias") << QStringLiteral("Matrix In 3");
    QTest::newRow("output") << 2 << QStringLiteral("Matrix Out Alias") << QStringLiteral("Matrix Out 3");
    QTest::newRow("matrix id") << 3 << QStringLiteral("Matrix ID Setting") << QStringLiteral("Matrix ID 3");
    QTest::newRow("ip card") << 4 << QStringLiteral("IP Card Alias") << QStringLiteral("IP 3");
}

void TestAliasDialog::modes()
{
    QFETCH(int, mode);
    QFETCH(QString, title);
    QFETCH(QString, defaultText);

    CAliasSetting dialog(mode);
    QCOMPARE(dialog.windowTitle(), title);
    QVERIFY(!defaultField(&dialog)->isEnabled());
    QCOMPARE(defaultField(&dialog)->alignment(), Qt::AlignCenter);
    QCOMPARE(newField(&dialog)->alignment(), Qt::AlignCenter);
    dialog.setIndex(3);
    QCOMPARE(defaultField(&dialog)->text(), defaultText);
    dialog.setDefaultText(QStringLiteral("192.168.0.7"));
    QCOMPARE(defaultField(&dialog)->text(), QStringLiteral("192.168.0.7"));
}

void TestAliasDialog::unknownModeKeepsTexts()
{
    CAliasSetting fresh(7);
    QCOMPARE(fresh.windowTitle(), QString());
    fresh.setIndex(2);
    QCOMPARE(defaultField(&fresh)->text(), QStringLiteral(" 2"));

    CAliasSetting used(1);
    used.setMode(9);
    QCOMPARE(used.windowTitle(), QStringLiteral("Matrix In Alias"));
    used.setIndex(4);
    QCOMPARE(defaultField(&used)->text(), QStringLiteral("Matrix In 4"));
}

void TestAliasDialog::aliasFallsBackToDefault()
{
    CAliasSetting dialog(0);
    dialog.setIndex(0);
    dialog.setAlias(QString());
    QCOMPARE(dialog.alias(), QStringLiteral("Scene 0"));
    dialog.setAlias(QStringLiteral("   "));
    QCOMPARE(dialog.alias(), QStringLiteral("   "));
    dialog.setAlias(QStringLiteral("Lobby"));
    QCOMPARE(newField(&dialog)->text(), QStringLiteral("Lobby"));
    QCOMPARE(dialog.alias(), QStringLiteral("Lobby"));
}

void TestAliasDialog::execResults_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("result");
    QTest::newRow("ok") << QStringLiteral("Ok") << 1;
    QTest::newRow("cancel") << QStringLiteral("Cancel") << 0;
    QTest::newRow("window closed") << QStringLiteral("close") << 0;
}

void TestAliasDialog::execResults()
{
    QFETCH(QString, how);
    QFETCH(int, result);

    CAliasSetting dialog(2);
    dialog.setIndex(5);
    dialog.setAlias(QStringLiteral("Old"));
    answerNextModal([how](QDialog *shown) {
        newField(shown)->setText(QStringLiteral("Typed"));
        if (how == QLatin1String("close"))
            shown->close();
        else
            QTest::mouseClick(button(shown, how), Qt::LeftButton);
    });
    QCOMPARE(dialog.exec(), result);
    // The dialog stores nothing; the caller decides what to do with alias().
    QCOMPARE(dialog.alias(), QStringLiteral("Typed"));
}

void TestAliasDialog::defaultLabelSpellingFollowsLanguageChange()
{
    CAliasSetting dialog(1);
    QCOMPARE(defaultLabel(&dialog)->text(), QStringLiteral("Defualt"));
    QEvent change(QEvent::LanguageChange);
    QApplication::sendEvent(&dialog, &change);
    QCOMPARE(defaultLabel(&dialog)->text(), QStringLiteral("Default"));
    QVERIFY(button(&dialog, QStringLiteral("Ok")));
    QVERIFY(button(&dialog, QStringLiteral("Cancel")));
}

void TestAliasDialog::languageChangeKeepsMode()
{
    CAliasSetting dialog(3);
    dialog.setIndex(1);
    installChinese();

    QTRY_COMPARE(defaultLabel(&dialog)->text(), QStringLiteral("默认"));
    // The window title waits for the next setMode; the default field for the next setIndex.
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Matrix ID Setting"));
    QCOMPARE(defaultField(&dialog)->text(), QStringLiteral("Matrix ID 1"));
    QVERIFY(button(&dialog, QStringLiteral("确定")));
    dialog.setIndex(5);
    QCOMPARE(defaultField(&dialog)->text(), QStringLiteral("矩阵编号 5"));
    dialog.setMode(3);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("矩阵编号设置"));
}

void TestAliasDialog::sameDialogChangesMode()
{
    CAliasSetting dialog(1);
    dialog.setIndex(4);
    QCOMPARE(defaultField(&dialog)->text(), QStringLiteral("Matrix In 4"));
    dialog.setMode(2);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Matrix Out Alias"));
    dialog.setIndex(4);
    QCOMPARE(defaultField(&dialog)->text(), QStringLiteral("Matrix Out 4"));
}

QTEST_MAIN(TestAliasDialog)
#include "tst_aliasdialog.moc"
