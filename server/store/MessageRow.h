#pragma once

#include <cstdint>
#include <string>

namespace kelpa::server {

struct MessageRow {
    std::int64_t id = 0;
    std::int64_t fromUser = 0;
    std::int64_t toUser = 0;
    std::string text;
    std::int64_t sent = 0;
};

}  // namespace kelpa::server
