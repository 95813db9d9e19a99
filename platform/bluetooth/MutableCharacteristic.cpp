#include "platform/bluetooth/MutableCharacteristic.h"

namespace kelpa::platform {

std::shared_ptr<MutableCharacteristic> MutableCharacteristic::initWithType(BluetoothUUID type, int properties,
                                                                           std::optional<std::string> value,
                                                                           int permissions) {
    auto characteristic = std::make_shared<MutableCharacteristic>();
    characteristic->type = std::move(type);
    characteristic->properties = properties;
    characteristic->value = std::move(value);
    characteristic->permissions = permissions;
    return characteristic;
}

}  // namespace kelpa::platform
