#pragma once

#include "config/deviceentry.h"

#include <QString>

// The network card's answer to "HWC": "HNW" followed by ip, port, subnet,
// gateway and mac separated by ",". Pure, as the text comes from the device.
class NetReply
{
public:
    enum class Result { Ok, NoPrefix, TooFewFields };

    static constexpr int FieldCount = 5;

    // On Ok the five network fields of entry take the answer's values (further
    // fields are ignored); otherwise entry is left as it was. fieldCount gets
    // the number of fields found after the prefix.
    static Result parse(const QString &reply, DeviceEntry *entry, int *fieldCount = nullptr);
};
