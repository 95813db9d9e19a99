#include "client/bluetooth/NearbyScan.h"

#include "client/bluetooth/AdvertisedService.h"

namespace kelpa {

using platform::ManagerState;

std::optional<std::string> NearbyScan::stateLine(ManagerState state) {
    switch (state) {
        case ManagerState::poweredOn: return "CoreBluetooth BLE hardware is powered on and ready";
        case ManagerState::poweredOff: return "CoreBluetooth BLE hardware is powered off";
        case ManagerState::unauthorized: return "CoreBluetooth BLE state is unauthorized";
        case ManagerState::unsupported: return "CoreBluetooth BLE hardware is unsupported on this platform";
        case ManagerState::unknown: return "CoreBluetooth BLE state is unknown";
        case ManagerState::resetting: break;
    }
    return std::nullopt;
}

void NearbyScan::start(platform::CentralManager& central) {
    central.stopScan();
    central.scanForPeripheralsWithServices(std::nullopt, platform::ScanOptions{.allowDuplicates = false});
}

std::optional<std::string> NearbyScan::announcedIdentifier(const platform::AdvertisementData& advertisement) {
    // The services are matched on their rendered text, as a phone's scanner sees them.
    const auto services = advertisement.find(platform::CBAdvertisementDataServiceUUIDsKey);
    if (services == advertisement.end()) return std::nullopt;
    if (services->second.description().find(AdvertisedService::kServiceUUID) == std::string::npos) return std::nullopt;
    const auto name = advertisement.find(platform::CBAdvertisementDataLocalNameKey);
    if (name == advertisement.end() || !name->second.text()) return std::nullopt;
    return *name->second.text();
}

}  // namespace kelpa
