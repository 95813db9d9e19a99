#pragma once

#include "platform/bluetooth/BluetoothUUID.h"
#include "platform/bluetooth/MutableCharacteristic.h"

#include <memory>
#include <vector>

namespace kelpa::platform {

// A GATT service a peripheral publishes.
struct MutableService {
    BluetoothUUID type;
    bool primary = true;
    std::vector<std::shared_ptr<MutableCharacteristic>> characteristics;

    static std::shared_ptr<MutableService> initWithType(BluetoothUUID type, bool primary);
    void setCharacteristics(std::vector<std::shared_ptr<MutableCharacteristic>> list);
};

}  // namespace kelpa::platform
