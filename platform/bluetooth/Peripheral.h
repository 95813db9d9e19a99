#pragma once

#include <string>

namespace kelpa::platform {

// A discovered advertiser. The identifier stays the same for as long as the advertiser keeps
// its hold on its radio.
struct Peripheral {
    std::string identifier;
};

}  // namespace kelpa::platform
