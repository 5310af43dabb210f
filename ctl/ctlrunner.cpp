#include "ctlrunner.h"

#include "exitstatus.h"

#include "config/devicestore.h"
#include "config/linkparameters.h"
#include "link/netreply.h"
#include "link/protocoladapter.h"

CtlRunner::CtlRunner(const CtlOptions &options, QObject *parent)
    : QObject(parent)
    , m_options(options)
    , m_output(options.json, options.quiet)
{
}

int CtlRunner::run()
{
    if (!m_options.command.needsLink())
        return listDevices();
    // Only in this run's memory: the window's stored ID stays as it was.
    if (m_options.matrixId >= 0)
        linkParameters().matrixId = m_options.matrixId;

    protocoladapter &adapter = protocoladapter::instance();
    connect(&adapter, &protocoladapter::sendData, this, [this](const QString &text) { m_output.sent(text); });
    const bool tcp = m_options.link == CtlOptions::Link::Tcp;
    const bool open = tcp ? adapter.connectTcp(m_options.address, m_options.port)
                          : adapter.openSerial(m_options.address, m_options.port);
    if (!open) {
        const QString &address = m_options.address;
        const QString host = address.contains(QLatin1Char(':')) ? QLatin1Char('[') + address + QLatin1Char(']') : address;
        CtlOutput::error(QStringLiteral("cannot open %1: %2")
                             .arg(tcp ? host + QLatin1Char(':') + m_options.port : address,
                                  adapter.linkErrorString()));
        return ExitLinkFailed;
    }
    const int status = send(adapter);
    // A serial port is left to close with the process: clearing it first, as
    // the window's close does, could drop bytes the device has not read yet.
    if (tcp)
        adapter.disconnectTcp();
    return status;
}

int CtlRunner::listDevices() const
{
    const DeviceStore store(m_options.book, DeviceStore::Access::ReadOnly);
    const QList<DeviceEntry> entries = store.entries();
    for (const DeviceEntry &entry : entries)
        m_output.device(entry);
    return ExitDone;
}

int CtlRunner::send(protocoladapter &adapter) const
{
    const CtlCommand &command = m_options.command;
    switch (command.kind) {
    case CtlCommand::Kind::Switch: {
        QStringList outputs;
        for (const int output : command.channels)
            outputs << QString::number(output);
        adapter.sendSwitchMulti(command.number, outputs);
        break;
    }
    case CtlCommand::Kind::All:
        adapter.sendSwitchToAll(command.number);
        break;
    case CtlCommand::Kind::OneByOne:
        adapter.sendOneByOne();
        break;
    case CtlCommand::Kind::SceneSave:
        adapter.sendSaveScene(command.number);
        break;
    case CtlCommand::Kind::SceneCall:
        adapter.sendCallScene(command.number);
        break;
    case CtlCommand::Kind::BuzzerOn:
    case CtlCommand::Kind::BuzzerOff:
        adapter.sendBuzzer(command.kind == CtlCommand::Kind::BuzzerOn);
        break;
    case CtlCommand::Kind::Edid:
        for (const int input : command.channels)
            adapter.sendEdid(input, command.number);
        break;
    case CtlCommand::Kind::NetGet:
        return askNetwork(adapter);
    case CtlCommand::Kind::NetSet:
        adapter.sendNetSetting(command.texts.at(0), command.texts.at(1), command.texts.at(2));
        break;
    case CtlCommand::Kind::NetReset:
        adapter.sendNetReset();
        break;
    case CtlCommand::Kind::Raw:
        if (command.bytes.isEmpty())
            adapter.sendRaw(command.texts.constFirst());
        else
            adapter.sendRawBytes(command.bytes);
        break;
    case CtlCommand::Kind::Devices:
        break;
    }
    return ExitDone;
}

int CtlRunner::askNetwork(protocoladapter &adapter) const
{
    const QString reply = adapter.queryNetSetting();
    DeviceEntry entry;
    if (NetReply::parse(reply, &entry) != NetReply::Result::Ok) {
        CtlOutput::error(reply.isEmpty() ? QStringLiteral("no answer from the network card")
                                         : QStringLiteral("\"%1\" is no answer of the network card").arg(reply));
        return ExitNoAnswer;
    }
    m_output.netSettings(entry);
    return ExitDone;
}
