#pragma once

#include "platform/bluetooth/BluetoothUUID.h"

#include <optional>
#include <string>
#include <vector>

namespace kelpa::platform {

// What a radio puts on the air for one advertiser: the service UUIDs in the advertisement
// and the local name, which goes in the scan response when the advertisement is full.
struct RadioAdvertisement {
    std::vector<BluetoothUUID> serviceUUIDs;
    std::optional<std::string> localName;

    bool operator==(const RadioAdvertisement&) const = default;
};

}  // namespace kelpa::platform
