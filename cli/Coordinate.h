#pragma once

namespace kelpa::cli {

// A point given on the command line, in degrees (south and west negative).
struct Coordinate {
    double latitude = 0;
    double longitude = 0;

    bool operator==(const Coordinate&) const = default;
};

}  // namespace kelpa::cli
