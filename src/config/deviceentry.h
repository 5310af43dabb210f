#pragma once

#include <QString>

// One networked matrix of the address book. All six are kept as plain text.
struct DeviceEntry
{
    QString ip;
    QString port;
    QString subnet;
    QString gateway;
    QString mac;
    QString alias;

    bool operator==(const DeviceEntry &other) const
    {
        return ip == other.ip && port == other.port && subnet == other.subnet
            && gateway == other.gateway && mac == other.mac && alias == other.alias;
    }
    bool operator!=(const DeviceEntry &other) const { return !(*this == other); }
};
