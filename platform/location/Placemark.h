#pragma once

#include "platform/location/LocationCoordinate2D.h"

#include <string>

namespace kelpa::platform {

// A place a geocoder found: where it is, its short name and its full address as one line.
struct Placemark {
    LocationCoordinate2D coordinate;
    std::string name;
    std::string formattedAddress;

    bool operator==(const Placemark&) const = default;
};

}  // namespace kelpa::platform
