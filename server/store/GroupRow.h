#pragma once

#include <cstdint>
#include <string>

namespace kelpa::server {

struct GroupRow {
    std::int64_t id = 0;
    std::string description;
    std::int64_t created = 0;  // civil seconds, see WallClock
    int groupType = 1;
    std::int64_t startTime = 0;
    std::int64_t endTime = 0;
    std::string wordOne;
    std::string wordTwo;
};

}  // namespace kelpa::server
