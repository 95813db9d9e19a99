#include "platform/bluetooth/MutableService.h"

namespace kelpa::platform {

std::shared_ptr<MutableService> MutableService::initWithType(BluetoothUUID type, bool primary) {
    auto service = std::make_shared<MutableService>();
    service->type = std::move(type);
    service->primary = primary;
    return service;
}

void MutableService::setCharacteristics(std::vector<std::shared_ptr<MutableCharacteristic>> list) {
    characteristics = std::move(list);
}

}  // namespace kelpa::platform
