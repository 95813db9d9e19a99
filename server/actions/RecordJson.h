#pragma once

#include <vector>

#include <nlohmann/json.hpp>

#include "server/store/GroupRow.h"
#include "server/store/MemberRow.h"
#include "server/store/MessageRow.h"
#include "server/store/PositionRow.h"
#include "server/store/UserRow.h"
#include "server/store/WaypointRow.h"

namespace kelpa::server {

// Writes the records in the JSON shapes the client reads. Identifiers go out as strings;
// devices appear under their opaque row number, never the installation identifier.
class RecordJson {
public:
    // A user's phone number and social identifier are shown only to that user: a social
    // identifier is all a social sign-in needs.
    static nlohmann::json user(const UserRow& user, bool self);
    static nlohmann::json member(const MemberRow& member, std::int64_t viewer);
    static nlohmann::json position(const PositionRow& position);
    static nlohmann::json waypoint(const WaypointRow& waypoint);
    static nlohmann::json message(const MessageRow& message);
    static nlohmann::json group(const GroupRow& group, const std::vector<MemberRow>& members,
                                const std::vector<WaypointRow>& waypoints, std::int64_t viewer);
};

}  // namespace kelpa::server
