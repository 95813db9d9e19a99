#pragma once

#include "client/service/DateFormat.h"

#include <optional>
#include <string>

namespace kelpa {
class Group;
class Member;
class Message;
class Position;
class User;
class Waypoint;
}  // namespace kelpa

namespace kelpa::cli {

// The records as readable lines: identifiers first so that `cut` and `awk` find them, dates
// in local time, "-" for what is unknown.
class RecordText {
public:
    static std::string user(const User& user);
    static std::string userDetails(const User& user);
    static std::string group(const Group& group, bool joined);
    static std::string groupDetails(const Group& group);
    static std::string member(const Member& member);
    // `owner` names whose device it is, when known.
    static std::string position(const Position& position, const std::optional<std::string>& owner = std::nullopt);
    static std::string waypoint(const Waypoint& waypoint);
    static std::string message(const Message& message);
    static std::string date(const std::optional<Date>& date);
    static std::string coordinates(std::optional<double> latitude, std::optional<double> longitude);
};

}  // namespace kelpa::cli
