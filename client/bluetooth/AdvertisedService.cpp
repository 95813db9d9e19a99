#include "client/bluetooth/AdvertisedService.h"

#include <fmt/format.h>

namespace kelpa {

using platform::ManagerState;

AdvertisedService::Published AdvertisedService::make() {
    auto characteristic = platform::MutableCharacteristic::initWithType(
        platform::BluetoothUUID::UUIDWithString(kCharacteristicUUID), platform::MutableCharacteristic::propertyNotify,
        std::nullopt, platform::MutableCharacteristic::permissionReadable);
    auto service = platform::MutableService::initWithType(platform::BluetoothUUID::UUIDWithString(kServiceUUID), true);
    service->setCharacteristics({characteristic});
    return {service, characteristic};
}

std::string AdvertisedService::stateLine(ManagerState state) {
    switch (state) {
        case ManagerState::unknown: return "BL Unknown";
        case ManagerState::resetting: return "BL resetting";
        case ManagerState::unsupported: return "BL Unsupported";
        case ManagerState::unauthorized: return "BL not authorized";
        case ManagerState::poweredOff: return "BL Off";
        case ManagerState::poweredOn: return "BL on";
    }
    return fmt::format("Peripheral Manager did change state to {}", static_cast<long>(state));
}

platform::AdvertisementData AdvertisedService::advertisement(const std::string& localName) {
    return {
        {platform::CBAdvertisementDataLocalNameKey, platform::AdvertisementValue(localName)},
        {platform::CBAdvertisementDataServiceUUIDsKey,
         platform::AdvertisementValue(std::vector<platform::BluetoothUUID>{
             platform::BluetoothUUID::UUIDWithString(kServiceUUID)})},
    };
}

}  // namespace kelpa
