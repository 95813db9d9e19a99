#pragma once

#include "platform/bluetooth/AdvertisementData.h"
#include "platform/bluetooth/BluetoothUUID.h"
#include "platform/bluetooth/ManagerState.h"
#include "platform/bluetooth/MutableCharacteristic.h"
#include "platform/bluetooth/MutableService.h"

#include <memory>
#include <optional>
#include <string>

namespace kelpa {

// What the group advertiser and the presence advertiser share: the service published behind
// every advertisement, and the line each radio state writes.
class AdvertisedService {
public:
    static constexpr const char* kServiceUUID = "7B0FCD68-A8DE-4A6A-A62E-5344074F3D01";
    static constexpr const char* kCharacteristicUUID = "4A56B824-924F-4112-B6DE-2A3E51588D96";

    struct Published {
        std::shared_ptr<platform::MutableService> service;
        std::shared_ptr<platform::MutableCharacteristic> characteristic;
    };
    // One primary service holding one notify-only, readable characteristic without a value.
    static Published make();

    // The line a state report writes ("BL on" for powered on).
    static std::string stateLine(platform::ManagerState state);

    // The advertisement: the local name and the one service UUID, nothing else.
    static platform::AdvertisementData advertisement(const std::string& localName);
};

}  // namespace kelpa
