#pragma once

#include "platform/bluetooth/AdvertisementData.h"
#include "platform/bluetooth/Peripheral.h"

namespace kelpa::platform {

class CentralManager;

// What a central manager tells its owner, on the main queue.
class CentralManagerDelegate {
public:
    virtual ~CentralManagerDelegate() = default;
    virtual void centralManagerDidUpdateState(CentralManager& central) = 0;
    virtual void didDiscoverPeripheral(CentralManager& central, const Peripheral& peripheral,
                                       const AdvertisementData& advertisementData, int RSSI) = 0;
};

}  // namespace kelpa::platform
