#include "config/aliasstore.h"
#include "support/testenv.h"

#include <QSettings>
#include <QtTest>

#include <memory>

class TestAliasStore : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_env = std::make_unique<TestEnv>(); }
    void cleanup() { m_env.reset(); }

    void firstStartWritesDefaults();
    void renamesReachDiskAtDestruction();
    void existingNamesAllSurvive();
    void missingKeyGivesEmptyName();
    void namesRoundTrip_data();
    void namesRoundTrip();
    void unquotedCommaKeepsTheName();
    void damagedFileIsKept();
    void indexOutsideTheStore();

private:
    // Reads a name back the way any other reader of the file would.
    QString stored(const QString &group, int channel) const
    {
        QSettings file(m_env->filePath(QStringLiteral("AliasConfig.ini")), QSettings::IniFormat);
        file.setIniCodec("UTF-8");
        return file.value(group + QLatin1Char('/') + QString::number(channel)).toString();
    }

    std::unique_ptr<TestEnv> m_env;
};

void TestAliasStore::firstStartWritesDefaults()
{
    QVERIFY(aliasFileMissing());
    QTest::ignoreMessage(QtDebugMsg, "create file");
    AliasStore store;
    // Written at creation, before anything else happens.
    QVERIFY(!aliasFileMissing());
    QVERIFY(m_env->readFile("AliasConfig.ini").contains("1=\xe8\xbe\x93\xe5\x85\xa5\xe9\x80\x9a\xe9\x81\x93 1\n"));

    QCOMPARE(store.inputAlias(0), QStringLiteral("输入通道 1"));
    QCOMPARE(store.inputAlias(63), QStringLiteral("输入通道 64"));
    QCOMPARE(store.outputAlias(0), QStringLiteral("输出通道 1"));
    QCOMPARE(store.outputAlias(63), QStringLiteral("输出通道 64"));
    for (int n = 1; n <= 64; ++n) {
        QCOMPARE(stored(QStringLiteral("InputAlias"), n), QStringLiteral("输入通道 %1").arg(n));
        QCOMPARE(stored(QStringLiteral("OutputAlias"), n), QStringLiteral("输出通道 %1").arg(n));
    }
    QVERIFY(stored(QStringLiteral("InputAlias"), 65).isEmpty());
}

void TestAliasStore::renamesReachDiskAtDestruction()
{
    auto store = std::make_unique<AliasStore>();
    const QByteArray before = m_env->readFile("AliasConfig.ini");
    store->setInputAlias(2, QStringLiteral("Camera 3"));
    store->setOutputAlias(63, QStringLiteral("Projector"));
    QCOMPARE(store->inputAlias(2), QStringLiteral("Camera 3"));
    QCOMPARE(m_env->readFile("AliasConfig.ini"), before);

    store.reset();
    QCOMPARE(stored(QStringLiteral("InputAlias"), 3), QStringLiteral("Camera 3"));
    QCOMPARE(stored(QStringLiteral("OutputAlias"), 64), QStringLiteral("Projector"));
    QCOMPARE(stored(QStringLiteral("InputAlias"), 4), QStringLiteral("输入通道 4"));
}

void TestAliasStore::existingNamesAllSurvive()
{
    QByteArray file("[InputAlias]\n");
    for (int n = 1; n <= 64; ++n)
        file += QByteArray::number(n) + "=In " + QByteArray::number(n) + '\n';
    file += "[OutputAlias]\n";
    for (int n = 1; n <= 64; ++n)
        file += QByteArray::number(n) + "=Out " + QByteArray::number(n) + '\n';
    m_env->writeFile("AliasConfig.ini", file);

    {
        QTest::ignoreMessage(QtDebugMsg, "load file");
        AliasStore store;
        QCOMPARE(store.inputAlias(40), QStringLiteral("In 41"));
        QCOMPARE(store.outputAlias(63), QStringLiteral("Out 64"));
        store.setInputAlias(0, QStringLiteral("Desk"));
    }
    QCOMPARE(stored(QStringLiteral("InputAlias"), 1), QStringLiteral("Desk"));
    for (int n = 2; n <= 64; ++n)
        QCOMPARE(stored(QStringLiteral("InputAlias"), n), QStringLiteral("In %1").arg(n));
    for (int n = 1; n <= 64; ++n)
        QCOMPARE(stored(QStringLiteral("OutputAlias"), n), QStringLiteral("Out %1").arg(n));
}

void TestAliasStore::missingKeyGivesEmptyName()
{
    m_env->writeFile("AliasConfig.ini", "[OutputAlias]\n4=Four\n6=Six\n");
    {
        AliasStore store;
        QCOMPARE(store.outputAlias(3), QStringLiteral("Four"));
        QCOMPARE(store.outputAlias(4), QString());
        QCOMPARE(store.outputAlias(5), QStringLiteral("Six"));
        // An existing file is never filled with defaults.
        QCOMPARE(store.inputAlias(0), QString());
    }
    QSettings file(m_env->filePath("AliasConfig.ini"), QSettings::IniFormat);
    QVERIFY(file.contains(QStringLiteral("OutputAlias/5")));
    QCOMPARE(file.value(QStringLiteral("OutputAlias/5")).toString(), QString());
    QCOMPARE(file.value(QStringLiteral("OutputAlias/6")).toString(), QStringLiteral("Six"));
}

void TestAliasStore::namesRoundTrip_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("simplified") << QStringLiteral("舞台 左侧");
    QTest::newRow("traditional") << QStringLiteral("會議室 投影機");
    QTest::newRow("accents") << QStringLiteral("Caméra Süd");
    QTest::newRow("kana") << QStringLiteral("カメラ");
    QTest::newRow("emoji") << QStringLiteral("🎥 1");
    QTest::newRow("comma") << QStringLiteral("Cam 1, left");
    QTest::newRow("ini specials") << QStringLiteral("[x] a=b; #c \"q\" \\ @Variant(");
    QTest::newRow("blanks kept") << QStringLiteral("  padded  ");
    QTest::newRow("empty") << QString();
}

void TestAliasStore::namesRoundTrip()
{
    QFETCH(QString, name);
    {
        AliasStore store;
        store.setInputAlias(7, name);
        store.setOutputAlias(8, name);
    }
    const QByteArray utf8 = name.toUtf8();
    if (name == QStringLiteral("舞台 左侧"))
        QVERIFY(m_env->readFile("AliasConfig.ini").contains("8=" + utf8));
    AliasStore again;
    QCOMPARE(again.inputAlias(7), name);
    QCOMPARE(again.outputAlias(8), name);
}

void TestAliasStore::unquotedCommaKeepsTheName()
{
    m_env->writeFile("AliasConfig.ini", "[InputAlias]\n1=Cam 1, left\n");
    {
        AliasStore store;
        QCOMPARE(store.inputAlias(0), QStringLiteral("Cam 1, left"));
    }
    QCOMPARE(stored(QStringLiteral("InputAlias"), 1), QStringLiteral("Cam 1, left"));
}

void TestAliasStore::damagedFileIsKept()
{
    const QByteArray damaged("[InputAlias\n1=Lost?\n[OutputAlias]\n2=Kept\n");
    m_env->writeFile("AliasConfig.ini", damaged);
    {
        AliasStore store;
        QCOMPARE(store.outputAlias(1), QStringLiteral("Kept"));
    }
    QCOMPARE(m_env->readFile("AliasConfig.ini.bad"), damaged);
    QCOMPARE(stored(QStringLiteral("OutputAlias"), 2), QStringLiteral("Kept"));
}

void TestAliasStore::indexOutsideTheStore()
{
    AliasStore store;
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("alias store: no input channel")));
    QCOMPARE(store.inputAlias(64), QString());
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("alias store: no output channel")));
    store.setOutputAlias(-1, QStringLiteral("x"));
    QCOMPARE(store.outputAlias(0), QStringLiteral("输出通道 1"));
}

QTEST_MAIN(TestAliasStore)
#include "tst_aliasstore.moc"
