#include "support/simprocess.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

#include <functional>

namespace {

constexpr int StartTimeoutMs = 5000;
constexpr int StopTimeoutMs = 3000;

QVector<int> toVector(const QJsonValue &value)
{
    QVector<int> out;
    const QJsonArray array = value.toArray();
    out.reserve(array.size());
    for (const QJsonValue &v : array)
        out << v.toInt();
    return out;
}

} // namespace

SimProcess::SimProcess(QObject *parent)
    : QObject(parent)
{
    connect(&m_process, &QProcess::readyReadStandardOutput, this, &SimProcess::readOutput);
    connect(&m_process, &QProcess::readyReadStandardError, this,
            [this] { m_stderr += m_process.readAllStandardError(); });
}

SimProcess::~SimProcess()
{
    stop();
}

bool SimProcess::start(const QStringList &extraArgs)
{
    stop();
    m_pending.clear();
    m_stderr.clear();
    m_events.clear();
    m_commands.clear();
    m_state = QJsonObject();
    m_port = 0;
    m_ptyPath.clear();
    m_ready = false;

    // --watch-stdin: should this test process die, the simulator goes too.
    QStringList args { QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--json"),
                       QStringLiteral("--watch-stdin") };
    args += extraArgs;
    m_process.start(QStringLiteral(MC_SIM_PATH), args);
    if (!m_process.waitForStarted(StartTimeoutMs))
        return false;
    const bool ready = waitFor([this] { return m_ready || m_process.state() == QProcess::NotRunning; },
                               StartTimeoutMs);
    if (!ready || !m_ready) {
        qWarning("matrix-sim did not start: %s", m_stderr.constData());
        stop();
        return false;
    }
    return true;
}

void SimProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(StopTimeoutMs)) {
        m_process.kill();
        m_process.waitForFinished(StopTimeoutMs);
    }
}

quint16 SimProcess::port() const
{
    return m_port;
}

QString SimProcess::portText() const
{
    return QString::number(m_port);
}

QString SimProcess::ptyPath() const
{
    return m_ptyPath;
}

bool SimProcess::waitForCommands(int count, int timeoutMs)
{
    return waitFor([this, count] { return m_commands.size() >= count; }, timeoutMs);
}

QJsonObject SimProcess::lastCommand() const
{
    return m_commands.isEmpty() ? QJsonObject() : m_commands.constLast();
}

QList<QJsonObject> SimProcess::events() const
{
    return m_events;
}

QVector<int> SimProcess::routing() const
{
    return toVector(m_state.value(QStringLiteral("routing")));
}

QVector<int> SimProcess::edid() const
{
    return toVector(m_state.value(QStringLiteral("edid")));
}

bool SimProcess::buzzer() const
{
    return m_state.value(QStringLiteral("buzzer")).toBool();
}

void SimProcess::readOutput()
{
    m_pending += m_process.readAllStandardOutput();
    int newline;
    while ((newline = m_pending.indexOf('\n')) >= 0) {
        const QByteArray line = m_pending.left(newline);
        m_pending.remove(0, newline + 1);
        const QJsonDocument doc = QJsonDocument::fromJson(line);
        if (doc.isObject())
            handleEvent(doc.object());
    }
}

void SimProcess::handleEvent(const QJsonObject &event)
{
    m_events << event;
    const QString kind = event.value(QStringLiteral("event")).toString();
    if (kind == QLatin1String("listening")) {
        m_port = static_cast<quint16>(event.value(QStringLiteral("port")).toInt());
    } else if (kind == QLatin1String("pty")) {
        m_ptyPath = event.value(QStringLiteral("path")).toString();
    } else if (kind == QLatin1String("ready")) {
        m_ready = true;
        m_state = event;
    } else if (kind == QLatin1String("command")) {
        m_commands << event;
        m_state = event;
    }
}

bool SimProcess::waitFor(const std::function<bool()> &condition, int timeoutMs)
{
    return QTest::qWaitFor([&] {
        readOutput();
        return condition();
    }, timeoutMs);
}
