#include "ctlrunner.h"

#include "ctlbook.h"
#include "exitstatus.h"

#include "config/linkparameters.h"
#include "link/netreply.h"
#include "link/protocoladapter.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>

namespace {

// Time for the link to pass on what it took, beyond what the bytes need at the line's speed.
constexpr int FlushMarginMs = 5000;
constexpr int BitsPerByte = 10;
constexpr int BusyRetryMs = 200;

// Who holds a serial port, as its lock file says (the directories that Qt's
// serial port looks in), or nothing.
QString portHolder(const QString &portName)
{
    QString name = portName;
    if (name.startsWith(QLatin1String("/dev/")))
        name = name.mid(5);
    name = QStringLiteral("LCK..") + name.replace(QLatin1Char('/'), QLatin1Char('_'));
    const QStringList directories { QStringLiteral("/var/lock"), QStringLiteral("/etc/locks"),
                                    QStringLiteral("/var/spool/locks"), QStringLiteral("/var/spool/uucp"),
                                    QStandardPaths::writableLocation(QStandardPaths::TempLocation) };
    for (const QString &directory : directories) {
        const QString path = QDir(directory).filePath(name);
        qint64 pid = 0;
        QString host;
        QString program;
        if (QFile::exists(path) && QLockFile(path).getLockInfo(&pid, &host, &program))
            return QStringLiteral("%1 (process %2)").arg(program.isEmpty() ? QStringLiteral("a program") : program)
                .arg(pid);
    }
    return QString();
}

} // namespace

CtlRunner::CtlRunner(const CtlOptions &options, QObject *parent)
    : QObject(parent)
    , m_options(options)
    , m_output(options.json, options.quiet)
{
}

int CtlRunner::run()
{
    if (!m_options.needsLink())
        return listDevices();
    // Only in this run's memory: the window's stored ID stays as it was.
    linkParameters().matrixId = m_options.matrixId;

    protocoladapter &adapter = protocoladapter::instance();
    adapter.setReplyTimeout(m_options.timeoutMs);
    connect(&adapter, &protocoladapter::bytesSent, this, [this](const QByteArray &bytes) { m_taken << bytes; });
    connect(&adapter, &protocoladapter::linkFailed, this, [this](const QString &reason) {
        if (m_failure.isEmpty())
            m_failure = reason;
    });
    if (!openLink(adapter))
        return ExitLinkFailed;
    int status = ExitDone;
    for (const CtlCommand &command : m_options.commands) {
        status = runCommand(adapter, command);
        if (status != ExitDone)
            break;
    }
    // A serial port is left to close with the process: clearing it first, as
    // the window's close does, could drop bytes the device has not read yet.
    if (adapter.isTcpConnected())
        adapter.disconnectTcp();
    return status;
}

// A serial port that another program holds is waited for, if asked, until it comes free.
bool CtlRunner::openLink(protocoladapter &adapter)
{
    const bool tcp = m_options.link == CtlOptions::Link::Tcp;
    const QDeadlineTimer deadline(m_options.waitSeconds * 1000);
    bool told = false;
    for (;;) {
        if (tcp ? adapter.connectTcp(m_options.address, m_options.port)
                : adapter.openSerial(m_options.address, m_options.port))
            return true;
        const QString holder = tcp ? QString() : portHolder(m_options.address);
        if (holder.isEmpty() || deadline.hasExpired())
            break;
        if (!told)
            CtlOutput::error(QStringLiteral("%1 is held by %2; waiting up to %3 s")
                                 .arg(m_options.address, holder).arg(m_options.waitSeconds));
        told = true;
        QThread::msleep(BusyRetryMs);
    }
    const QString &address = m_options.address;
    const QString host = address.contains(QLatin1Char(':')) ? QLatin1Char('[') + address + QLatin1Char(']') : address;
    const QString holder = tcp ? QString() : portHolder(address);
    CtlOutput::error(QStringLiteral("cannot open %1: %2%3")
                         .arg(tcp ? host + QLatin1Char(':') + m_options.port : address, adapter.linkErrorString(),
                              holder.isEmpty() ? QString() : QStringLiteral("; it is held by ") + holder));
    return false;
}

int CtlRunner::listDevices() const
{
    CtlBook book;
    if (!book.read(m_options.book)) {
        CtlOutput::error(book.errorText());
        return ExitUsage;
    }
    const QList<DeviceEntry> entries = book.entries();
    for (const DeviceEntry &entry : entries)
        m_output.device(entry);
    return ExitDone;
}

int CtlRunner::runCommand(protocoladapter &adapter, const CtlCommand &command)
{
    const auto step = [&](const std::function<void()> &send) {
        return sendStep(adapter, command, command.words, send) ? ExitDone : ExitNotSent;
    };
    switch (command.kind) {
    case CtlCommand::Kind::Switch: {
        QStringList outputs;
        for (const int output : command.channels)
            outputs << QString::number(output);
        return step([&] { adapter.sendSwitchMulti(command.number, outputs); });
    }
    case CtlCommand::Kind::All:
        return step([&] { adapter.sendSwitchToAll(command.number); });
    case CtlCommand::Kind::OneByOne:
        return step([&] { adapter.sendOneByOne(); });
    case CtlCommand::Kind::SceneSave:
        return step([&] { adapter.sendSaveScene(command.number); });
    case CtlCommand::Kind::SceneCall:
        return step([&] { adapter.sendCallScene(command.number); });
    case CtlCommand::Kind::BuzzerOn:
    case CtlCommand::Kind::BuzzerOff:
        return step([&] { adapter.sendBuzzer(command.kind == CtlCommand::Kind::BuzzerOn); });
    case CtlCommand::Kind::Edid:
        // Each write is a command of its own, named on its own if it fails.
        for (const int input : command.channels) {
            const QString words = QStringLiteral("edid %1 %2").arg(input).arg(command.number);
            if (!sendStep(adapter, command, words, [&] { adapter.sendEdid(input, command.number); }))
                return ExitNotSent;
        }
        return ExitDone;
    case CtlCommand::Kind::NetGet:
        return askNetwork(adapter, command);
    case CtlCommand::Kind::NetSet:
        return step([&] { adapter.sendNetSetting(command.texts.at(0), command.texts.at(1), command.texts.at(2)); });
    case CtlCommand::Kind::NetReset:
        return step([&] { adapter.sendNetReset(); });
    case CtlCommand::Kind::Raw:
        return step([&] { adapter.sendExact(command.bytes); });
    case CtlCommand::Kind::Devices:
        return listDevices();
    }
    return ExitDone;
}

bool CtlRunner::sendStep(protocoladapter &adapter, const CtlCommand &command, const QString &words,
                         const std::function<void()> &send)
{
    m_failure.clear();
    m_taken.clear();
    const bool up = adapter.isConnected();
    if (up)
        send();
    qint64 size = 0;
    for (const QByteArray &bytes : qAsConst(m_taken))
        size += bytes.size();
    const bool serial = m_options.link == CtlOptions::Link::Serial;
    const qint64 lineMs = serial ? size * BitsPerByte * 1000 / m_options.port.toInt() : 0;
    if (up && m_failure.isEmpty() && adapter.flushLink(static_cast<int>(FlushMarginMs + lineMs))) {
        printTaken();
        return true;
    }
    if (m_failure.isEmpty())
        m_failure = up ? QStringLiteral("the link did not pass on every byte") : QStringLiteral("the link is down");
    CtlOutput::error(QStringLiteral("%1\"%2\" was not sent whole: %3").arg(where(command), words, m_failure));
    return false;
}

int CtlRunner::askNetwork(protocoladapter &adapter, const CtlCommand &command)
{
    m_failure.clear();
    m_taken.clear();
    const QString reply = adapter.queryNetSetting();
    printTaken();
    if (!adapter.isConnected()) {
        CtlOutput::error(QStringLiteral("%1\"%2\" got no answer: %3").arg(where(command), command.words, m_failure));
        return ExitNotSent;
    }
    DeviceEntry entry;
    if (NetReply::parse(reply, &entry) != NetReply::Result::Ok) {
        CtlOutput::error(where(command) + (reply.isEmpty() ? QStringLiteral("no answer from the network card")
                                         : QStringLiteral("\"%1\" is no answer of the network card").arg(reply)));
        return ExitNoAnswer;
    }
    m_output.netSettings(entry);
    return ExitDone;
}

// Printed once the link has passed them on, so that what a script reads went out.
void CtlRunner::printTaken()
{
    for (const QByteArray &bytes : qAsConst(m_taken))
        m_output.sent(bytes);
    m_taken.clear();
}

QString CtlRunner::where(const CtlCommand &command) const
{
    return command.line > 0 ? QStringLiteral("line %1: ").arg(command.line) : QString();
}
