#pragma once

#include <cstdint>

namespace kelpa::server {

struct WaypointRow {
    std::int64_t id = 0;
    std::int64_t groupId = 0;
    double lati = 0;
    double longi = 0;
    std::int64_t number = 0;
};

}  // namespace kelpa::server
