#pragma once

#include "platform/bluetooth/MutableService.h"

#include <optional>
#include <string>

namespace kelpa::platform {

class PeripheralManager;

// What a peripheral manager tells its owner, on the main queue.
class PeripheralManagerDelegate {
public:
    virtual ~PeripheralManagerDelegate() = default;
    virtual void peripheralManagerDidUpdateState(PeripheralManager& peripheral) = 0;
    virtual void didAddService(PeripheralManager& peripheral, const MutableService& service,
                               std::optional<std::string> error) = 0;
};

}  // namespace kelpa::platform
