#pragma once

#include "platform/bluetooth/RadioAdvertisement.h"

#include <string>

namespace kelpa::platform {

// One advertisement a scan received: who sent it, what it said, how strong it came in.
struct RadioDiscovery {
    std::string peripheralIdentifier;
    RadioAdvertisement advertisement;
    int rssi = 0;
};

}  // namespace kelpa::platform
