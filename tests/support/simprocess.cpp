#include "support/simprocess.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

SimProcess::~SimProcess()
{
    stop();
}

bool SimProcess::start(const QStringList &extraArgs)
{
    stop();
    m_events.clear();
    m_commands.clear();
    m_port = 0;
    m_ptyPath.clear();
    m_ready = false;
    // --watch-stdin: should this test process die, the simulator goes too.
    m_process.start(QStringLiteral(MC_SIM_PATH), QStringList{"--listen", "127.0.0.1:0", "--json", "--watch-stdin"} + extraArgs);
    if (waitFor([this] { return m_ready || m_process.state() == QProcess::NotRunning; }, 5000) && m_ready)
        return true;
    qWarning("matrix-sim did not start: %s", m_process.readAllStandardError().constData());
    stop();
    return false;
}

void SimProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(3000))
        m_process.kill();
    m_process.waitForFinished(3000);
}

bool SimProcess::waitForCommands(int count, int timeoutMs)
{
    return waitFor([this, count] { return m_commands.size() >= count; }, timeoutMs);
}

QVector<int> SimProcess::routing() const
{
    QVector<int> out;
    const QJsonObject state = m_commands.isEmpty() ? QJsonObject() : m_commands.last();
    for (const QJsonValue &v : state.value(QStringLiteral("routing")).toArray())
        out << v.toInt();
    return out;
}

void SimProcess::readOutput()
{
    while (m_process.canReadLine()) {
        const QJsonObject event = QJsonDocument::fromJson(m_process.readLine()).object();
        const QString kind = event.value(QStringLiteral("event")).toString();
        m_events << event;
        if (kind == QLatin1String("listening"))
            m_port = static_cast<quint16>(event.value(QStringLiteral("port")).toInt());
        else if (kind == QLatin1String("pty"))
            m_ptyPath = event.value(QStringLiteral("path")).toString();
        m_ready = m_ready || kind == QLatin1String("ready");
        if (kind == QLatin1String("command"))
            m_commands << event;
    }
}

bool SimProcess::waitFor(const std::function<bool()> &condition, int timeoutMs)
{
    return QTest::qWaitFor([&] {
        readOutput();
        return condition();
    }, timeoutMs);
}
