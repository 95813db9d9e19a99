#pragma once

namespace kelpa::platform {

// How much of the map a region covers, in degrees.
struct CoordinateSpan {
    double latitudeDelta = 0;
    double longitudeDelta = 0;

    bool operator==(const CoordinateSpan&) const = default;
};

}  // namespace kelpa::platform
