#pragma once

#include "client/service/DateFormat.h"

#include <nlohmann/json.hpp>

#include <optional>

namespace kelpa {
class Group;
class Member;
class Message;
class Position;
class User;
class Waypoint;
}  // namespace kelpa

namespace kelpa::cli {

// The records as the JSON documents of --json: fixed keys, null for what is unknown, dates
// as local "YYYY-MM-DDTHH:MM:SS".
class RecordJson {
public:
    using json = nlohmann::json;

    static json user(const User& user);
    // Without members and waypoints; `details` adds them.
    static json group(const Group& group, bool details = false);
    static json member(const Member& member);
    static json position(const Position& position);
    static json waypoint(const Waypoint& waypoint);
    static json message(const Message& message);
    static json date(const std::optional<Date>& date);
};

}  // namespace kelpa::cli
