#pragma once

#include <cstdint>
#include <optional>

#include "server/store/PositionRow.h"
#include "server/store/UserRow.h"

namespace kelpa::server {

struct MemberRow {
    UserRow user;
    std::int64_t groupId = 0;
    bool isLeader = false;
    std::optional<std::int64_t> joined;    // set while the member shares positions
    std::optional<std::int64_t> deviceId;  // the device the member joined with
    std::optional<PositionRow> position;   // reported in this group, read while its window is open
};

}  // namespace kelpa::server
