#pragma once

#include <cstdint>

namespace kelpa::server {

// The last position a device reported.
struct PositionRow {
    std::int64_t deviceId = 0;
    double lati = 0;
    double longi = 0;
    std::int64_t synchronized = 0;
};

}  // namespace kelpa::server
