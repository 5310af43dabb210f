#include "config/linkparameters.h"
#include "link/protocoladapter.h"
#include "support/ptypair.h"
#include "support/testenv.h"

#include <QMutex>
#include <QSignalSpy>
#include <QThread>
#include <QtTest>

#include <memory>

// The serial link: opening, the network card's answer read back, and a device
// that goes away.
class TestAdapterSerial : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void openReportsWhetherThePortOpened();
    void queryReadsTheAnswer_data();
    void queryReadsTheAnswer();
    void queryWithoutAnswerIsEmpty();
    void closedMasterIsADrop();
    void dropFoundWhileWriting();
    void reopenAfterDrop();
    void ownCloseIsNoDrop_data();
    void ownCloseIsNoDrop();

private:
    void open();

    std::unique_ptr<TestEnv> m_env;
    std::unique_ptr<PtyPair> m_pty;
};

namespace {

const QString Baud = QStringLiteral("9600");

struct Piece
{
    int delayMs;
    QByteArray bytes;
};

// Plays the device on the master side from its own thread, because the
// adapter blocks the GUI thread while it waits for the answer.
class Device
{
public:
    Device(PtyPair &pty, const QVector<Piece> &answer)
    {
        m_thread.reset(QThread::create([this, &pty, answer] {
            const QByteArray query = pty.readAtLeast(3);
            {
                QMutexLocker lock(&m_mutex);
                m_query = query;
            }
            for (const Piece &piece : answer) {
                QThread::msleep(static_cast<unsigned long>(piece.delayMs));
                pty.write(piece.bytes);
            }
        }));
        m_thread->start();
    }
    ~Device() { m_thread->wait(); }

    QByteArray query()
    {
        m_thread->wait();
        QMutexLocker lock(&m_mutex);
        return m_query;
    }

private:
    std::unique_ptr<QThread> m_thread;
    QMutex m_mutex;
    QByteArray m_query;
};

QByteArray answer()
{
    return QByteArrayLiteral("HNW192.168.1.168,6800,255.255.255.0,192.168.1.1,00-11-22-33-44-55");
}

} // namespace

Q_DECLARE_METATYPE(Piece)

void TestAdapterSerial::initTestCase()
{
    m_env = std::make_unique<TestEnv>();
}

void TestAdapterSerial::cleanupTestCase()
{
    m_env.reset();
}

void TestAdapterSerial::init()
{
    m_pty = std::make_unique<PtyPair>();
    QVERIFY(m_pty->isValid());
}

void TestAdapterSerial::cleanup()
{
    protocoladapter &adapter = protocoladapter::instance();
    if (adapter.isSerialOpen())
        adapter.closeSerial();
    m_pty.reset();
}

void TestAdapterSerial::open()
{
    QVERIFY(protocoladapter::instance().openSerial(m_pty->slavePath(), Baud));
}

void TestAdapterSerial::openReportsWhetherThePortOpened()
{
    protocoladapter &adapter = protocoladapter::instance();
    QVERIFY(!adapter.openSerial(m_env->filePath("no-such-port"), Baud));
    QVERIFY(!adapter.isConnected());
    QVERIFY(!adapter.isSerialOpen());

    QVERIFY(adapter.openSerial(m_pty->slavePath(), Baud));
    QVERIFY(adapter.isConnected());
    QVERIFY(adapter.isSerialOpen());
    QVERIFY(!adapter.isTcpConnected());

    adapter.closeSerial();
    QVERIFY(!adapter.isConnected());
    QVERIFY(!adapter.isSerialOpen());
}

void TestAdapterSerial::queryReadsTheAnswer_data()
{
    QTest::addColumn<QByteArray>("stale");
    QTest::addColumn<QVector<Piece>>("answer");
    QTest::addColumn<QString>("expected");

    QTest::newRow("whole answer") << QByteArray() << QVector<Piece>{{10, answer()}} << QString::fromLatin1(answer());
    QTest::newRow("text ends at NUL") << QByteArray() << QVector<Piece>{{10, QByteArray("HNW1,2\0XYZ", 10)}}
                                      << QStringLiteral("HNW1,2");
    QTest::newRow("at most 67 bytes") << QByteArray() << QVector<Piece>{{10, QByteArray(80, 'A')}}
                                      << QString(67, QLatin1Char('A'));
    // At the line's speed the answer comes in pieces.
    QVector<Piece> trickle;
    for (int i = 0; i < answer().size(); i += 8)
        trickle.append({i == 0 ? 10 : 5, answer().mid(i, 8)});
    QTest::newRow("answer in pieces") << QByteArray() << trickle << QString::fromLatin1(answer());
    QTest::newRow("earlier answers are not taken") << QByteArray("1D3V5.OK\r\n") << QVector<Piece>{{10, answer()}}
                                                   << QString::fromLatin1(answer());
    QTest::newRow("utf-8") << QByteArray() << QVector<Piece>{{10, QByteArray("HNW\xc3\xa9")}}
                           << QStringLiteral("HNW\u00e9");
}

void TestAdapterSerial::queryReadsTheAnswer()
{
    QFETCH(QByteArray, stale);
    QFETCH(QVector<Piece>, answer);
    QFETCH(QString, expected);

    open();
    m_pty->write(stale);
    QTest::qWait(20);

    QSignalSpy sent(&protocoladapter::instance(), &protocoladapter::sendData);
    Device device(*m_pty, answer);
    QCOMPARE(protocoladapter::instance().queryNetSetting(), expected);
    QCOMPARE(device.query(), QByteArray("HWC"));
    QCOMPARE(sent.count(), 1);
    QCOMPARE(sent.at(0).at(0).toString(), QStringLiteral("HWC"));
}

void TestAdapterSerial::queryWithoutAnswerIsEmpty()
{
    open();
    // Answers nobody read earlier are no answer either.
    m_pty->write("1D3V5.OK");
    QTest::qWait(20);
    {
        Device late(*m_pty, {{protocoladapter::SerialReplyTimeoutMs * 5, answer()}});
        QCOMPARE(protocoladapter::instance().queryNetSetting(), QString());
    }
    // The late answer is gone by the next query as well.
    Device silent(*m_pty, {});
    QCOMPARE(protocoladapter::instance().queryNetSetting(), QString());
}

void TestAdapterSerial::closedMasterIsADrop()
{
    protocoladapter &adapter = protocoladapter::instance();
    open();
    QSignalSpy dropped(&adapter, &protocoladapter::linkDropped);
    QSignalSpy sent(&adapter, &protocoladapter::sendData);
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("^serial link dropped")));

    m_pty->closeMaster();
    QVERIFY(dropped.wait(1000));
    QCOMPARE(dropped.count(), 1);
    QCOMPARE(dropped.at(0).at(0).toInt(), 0);
    QVERIFY(!adapter.isSerialOpen());
    QVERIFY(!adapter.isConnected());

    adapter.sendBuzzer(true);
    adapter.sendRaw(QStringLiteral("1D1V1."));
    QCOMPARE(sent.count(), 0);
    QTest::qWait(50);
    QCOMPARE(dropped.count(), 1);
}

// The device went away before the event loop noticed: the next write finds out.
void TestAdapterSerial::dropFoundWhileWriting()
{
    protocoladapter &adapter = protocoladapter::instance();
    open();
    QSignalSpy dropped(&adapter, &protocoladapter::linkDropped);
    QSignalSpy sent(&adapter, &protocoladapter::sendData);
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("^serial link dropped")));

    m_pty->closeMaster();
    adapter.sendBuzzer(true);
    QTRY_COMPARE(dropped.count(), 1);
    QCOMPARE(dropped.at(0).at(0).toInt(), 0);
    QVERIFY(!adapter.isConnected());

    const int before = sent.count();
    adapter.sendBuzzer(false);
    QCOMPARE(sent.count(), before);
    QCOMPARE(adapter.queryNetSetting(), QString());
}

void TestAdapterSerial::reopenAfterDrop()
{
    protocoladapter &adapter = protocoladapter::instance();
    open();
    QSignalSpy dropped(&adapter, &protocoladapter::linkDropped);
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("^serial link dropped")));
    m_pty->closeMaster();
    QVERIFY(dropped.wait(1000));

    PtyPair second;
    QVERIFY(adapter.openSerial(second.slavePath(), Baud));
    adapter.sendCallScene(3);
    QCOMPARE(second.readAtLeast(6), QByteArray("1CALL3"));
    adapter.closeSerial();
}

void TestAdapterSerial::ownCloseIsNoDrop_data()
{
    QTest::addColumn<bool>("deviceGoneFirst");
    QTest::newRow("device still there") << false;
    // Closing finds the dead port before the event loop does.
    QTest::newRow("device already gone") << true;
}

void TestAdapterSerial::ownCloseIsNoDrop()
{
    QFETCH(bool, deviceGoneFirst);
    protocoladapter &adapter = protocoladapter::instance();
    open();
    QSignalSpy dropped(&adapter, &protocoladapter::linkDropped);
    if (deviceGoneFirst)
        m_pty->closeMaster();
    adapter.closeSerial();
    m_pty->closeMaster();
    QTest::qWait(100);
    QCOMPARE(dropped.count(), 0);
    QVERIFY(!adapter.isConnected());
}

QTEST_GUILESS_MAIN(TestAdapterSerial)
#include "tst_adapter_serial.moc"
