#pragma once

#include "platform/location/LocationCoordinate2D.h"

#include <chrono>

namespace kelpa::platform {

// One fix of the device: where, how high (metres), how sure (radius in metres) and when.
struct Location {
    LocationCoordinate2D coordinate;
    double altitude = 0;
    double horizontalAccuracy = 5;
    std::chrono::system_clock::time_point timestamp;

    // Great-circle distance in metres on a sphere of the earth's mean radius.
    double distanceFromLocation(const Location& other) const;

    bool operator==(const Location&) const = default;
};

}  // namespace kelpa::platform
