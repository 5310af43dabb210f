#pragma once

#include "config/deviceentry.h"

#include <QList>

class protocoladapter;

// The network card's rules for the address book, which the window and
// matrixctl share: which entry a command over the open link reaches, and what
// the card's answer, new settings or a reset leave in an entry.
class NetCardRules
{
public:
    enum class Reach { Reaches, NoLink, OtherDevice };

    // Where the card listens from the factory and again after a reset.
    static constexpr int FactoryPort = 6800;

    static DeviceEntry factoryEntry();
    // Over TCP a command reaches only the device at the other end of the link;
    // over the serial port the operator says which device is on the cable.
    static Reach reach(const protocoladapter &adapter, const DeviceEntry &device);
    // The row of devices whose card gave this answer to HWC, or -1. Over TCP it
    // is the device at the other end of the link, whose address may be shared
    // with others behind one multi-port server; over the serial port only the
    // answer's address says which row it is.
    static int answeringRow(const protocoladapter &adapter, const QList<DeviceEntry> &devices,
                            const DeviceEntry &answer);
    // The card's new settings, from its answer or a Setting, under the
    // operator's name for the device: the card knows nothing of that name.
    static DeviceEntry withSettings(DeviceEntry settings, const DeviceEntry &device);
    // The card forgets its settings, not the operator's name for it.
    static DeviceEntry afterReset(const DeviceEntry &device);
};
