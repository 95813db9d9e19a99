#pragma once

#include "platform/bluetooth/AdvertisementData.h"
#include "platform/bluetooth/BluetoothUUID.h"
#include "platform/bluetooth/PeripheralManager.h"
#include "platform/bluetooth/PeripheralManagerDelegate.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kelpa::testing {

// A phone nearby showing one user's presence advertisement (the service's UUID, the user's
// identifier as local name) on the current environment's radio, from the first power-on.
class PresenceAdvertiser : public platform::PeripheralManagerDelegate {
public:
    static std::shared_ptr<PresenceAdvertiser> of(const std::string& userID) {
        auto presence = std::make_shared<PresenceAdvertiser>();
        presence->userID = userID;
        presence->manager = platform::PeripheralManager::initWithDelegate(presence);
        return presence;
    }
    void peripheralManagerDidUpdateState(platform::PeripheralManager& peripheral) override {
        if (peripheral.state() != platform::ManagerState::poweredOn) return;
        peripheral.startAdvertising(
            {{platform::CBAdvertisementDataLocalNameKey, userID},
             {platform::CBAdvertisementDataServiceUUIDsKey,
              std::vector<platform::BluetoothUUID>{
                  platform::BluetoothUUID::UUIDWithString("7B0FCD68-A8DE-4A6A-A62E-5344074F3D01")}}});
    }
    void didAddService(platform::PeripheralManager&, const platform::MutableService&, std::optional<std::string>) override {}

    std::string userID;
    std::shared_ptr<platform::PeripheralManager> manager;
};

}  // namespace kelpa::testing
