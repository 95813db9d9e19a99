#include "cli/RecordText.h"

#include "cli/Arguments.h"
#include "client/model/Device.h"
#include "client/model/Group.h"
#include "client/model/Member.h"
#include "client/model/Message.h"
#include "client/model/Position.h"
#include "client/model/User.h"
#include "client/model/Waypoint.h"

#include <fmt/format.h>

#include <ctime>

namespace kelpa::cli {

namespace {
std::string orDash(const std::optional<std::string>& text) { return text && !text->empty() ? *text : "-"; }
}  // namespace

std::string RecordText::date(const std::optional<Date>& date) {
    if (!date) return "-";
    const std::time_t t = std::chrono::system_clock::to_time_t(*date);
    std::tm tm{};
    localtime_r(&t, &tm);
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M", &tm);
    return buffer;
}

std::string RecordText::coordinates(std::optional<double> latitude, std::optional<double> longitude) {
    if (!latitude || !longitude) return "-";
    return fmt::format("{:.6f},{:.6f}", *latitude, *longitude);
}

std::string RecordText::user(const User& user) {
    return fmt::format("{}  {}  {}", orDash(user.userID), orDash(user.displayName), orDash(user.phoneNumber));
}

std::string RecordText::userDetails(const User& user) {
    return fmt::format(
        "user:          {}\n"
        "name:          {}\n"
        "phone:         {}\n"
        "account:       {}\n"
        "registration:  {}\n",
        orDash(user.userID), orDash(user.displayName), orDash(user.phoneNumber), user.getSocialTypeAsString(),
        user.registrationCompleted ? "completed" : "not completed");
}

std::string RecordText::group(const Group& group, bool joined) {
    return fmt::format("{}  {}  {} .. {}  {}{}", orDash(group.groupID), Arguments::travelModeName(group.GroupType),
                       date(group.startTime), date(group.endTime), orDash(group.jDescription),
                       joined ? "  (joined)" : "");
}

std::string RecordText::groupDetails(const Group& group) {
    std::string text = fmt::format(
        "group:        {}\n"
        "description:  {}\n"
        "mode:         {}\n"
        "created:      {}\n"
        "start:        {}\n"
        "end:          {}\n",
        orDash(group.groupID), orDash(group.jDescription), Arguments::travelModeName(group.GroupType),
        date(group.created), date(group.startTime), date(group.endTime));
    const auto memberCount = group.members ? group.members->size() : 0;
    text += fmt::format("members:      {}\n", memberCount);
    if (group.members) {
        for (const auto& member : *group.members) {
            if (member) text += "  " + RecordText::member(*member) + "\n";
        }
    }
    const auto waypointCount = group.waypoints ? group.waypoints->size() : 0;
    text += fmt::format("waypoints:    {}\n", waypointCount);
    if (group.waypoints) {
        for (const auto& waypoint : *group.waypoints) {
            if (waypoint) text += "  " + RecordText::waypoint(*waypoint) + "\n";
        }
    }
    return text;
}

std::string RecordText::member(const Member& member) {
    const auto* user = member.user.get();
    std::string text = fmt::format("{}  {}", user ? orDash(user->userID) : "-", user ? orDash(user->displayName) : "-");
    if (member.isLeader) text += "  leader";
    // The service's own text for the join time, shown as it came.
    text += member.joined ? fmt::format("  joined {}", *member.joined) : std::string("  not joined");
    return text;
}

std::string RecordText::position(const Position& position, const std::optional<std::string>& owner) {
    return fmt::format("{}  {}  {}{}", position.deviceID, coordinates(position.lati, position.longi),
                       date(position.synchronized), owner ? "  " + *owner : std::string());
}

std::string RecordText::waypoint(const Waypoint& waypoint) {
    const std::string number = waypoint.number ? fmt::format("{:g}", *waypoint.number) : "-";
    return fmt::format("{}. {}", number, coordinates(waypoint.lati, waypoint.longi));
}

std::string RecordText::message(const Message& message) {
    return fmt::format("{}  {}: {}", date(message.sent), orDash(message.fromUserID), message.text.value_or(""));
}

}  // namespace kelpa::cli
