#pragma once

namespace kelpa::platform {

// A position on the earth in degrees (WGS 84); south and west are negative.
struct LocationCoordinate2D {
    double latitude = 0;
    double longitude = 0;

    bool operator==(const LocationCoordinate2D&) const = default;
};

}  // namespace kelpa::platform
