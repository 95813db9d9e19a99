#pragma once

#include "platform/location/Placemark.h"

#include <string>
#include <variant>
#include <vector>

namespace kelpa::platform {

// Turns an address into places. Blocks; runs on a background queue. The places come best
// match first; a failure, or an address nothing matches, is an error text.
class GeocodingService {
public:
    virtual ~GeocodingService() = default;
    virtual std::variant<std::vector<Placemark>, std::string> geocode(const std::string& address) = 0;
};

}  // namespace kelpa::platform
