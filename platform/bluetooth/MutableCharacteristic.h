#pragma once

#include "platform/bluetooth/BluetoothUUID.h"

#include <memory>
#include <optional>
#include <string>

namespace kelpa::platform {

// A characteristic a peripheral publishes inside a service.
struct MutableCharacteristic {
    static constexpr int propertyNotify = 0x10;
    static constexpr int permissionReadable = 0x01;

    BluetoothUUID type;
    int properties = 0;
    std::optional<std::string> value;
    int permissions = 0;

    static std::shared_ptr<MutableCharacteristic> initWithType(BluetoothUUID type, int properties,
                                                               std::optional<std::string> value,
                                                               int permissions);
};

}  // namespace kelpa::platform
