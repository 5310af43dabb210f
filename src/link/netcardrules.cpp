#include "link/netcardrules.h"

#include "link/protocoladapter.h"

DeviceEntry NetCardRules::factoryEntry()
{
    DeviceEntry entry;
    entry.ip = QStringLiteral("192.168.1.168");
    entry.port = QString::number(FactoryPort);
    entry.subnet = QStringLiteral("255.255.255.0");
    entry.gateway = QStringLiteral("192.168.1.1");
    return entry;
}

NetCardRules::Reach NetCardRules::reach(const protocoladapter &adapter, const DeviceEntry &device)
{
    if (!adapter.isConnected())
        return Reach::NoLink;
    if (adapter.commandLink() == protocoladapter::TcpLink && !adapter.isTcpLinkTo(device.ip, device.port))
        return Reach::OtherDevice;
    return Reach::Reaches;
}

int NetCardRules::answeringRow(const protocoladapter &adapter, const QList<DeviceEntry> &devices,
                               const DeviceEntry &answer)
{
    const bool overTcp = adapter.commandLink() == protocoladapter::TcpLink;
    for (int row = 0; row < devices.size(); ++row) {
        const DeviceEntry &stored = devices.at(row);
        if (overTcp ? adapter.isTcpLinkTo(stored.ip, stored.port) : stored.ip == answer.ip)
            return row;
    }
    return -1;
}

DeviceEntry NetCardRules::withSettings(DeviceEntry settings, const DeviceEntry &device)
{
    settings.alias = device.alias;
    return settings;
}

DeviceEntry NetCardRules::afterReset(const DeviceEntry &device)
{
    return withSettings(factoryEntry(), device);
}
