#include "cli/RecordJson.h"

#include "cli/Arguments.h"
#include "client/model/Device.h"
#include "client/model/Group.h"
#include "client/model/Member.h"
#include "client/model/Message.h"
#include "client/model/Position.h"
#include "client/model/User.h"
#include "client/model/Waypoint.h"

namespace kelpa::cli {

namespace {
template <class T>
nlohmann::json optional(const std::optional<T>& value) {
    return value ? nlohmann::json(*value) : nlohmann::json(nullptr);
}
}  // namespace

RecordJson::json RecordJson::date(const std::optional<Date>& date) {
    return date ? json(DateFormat::formatWire(*date)) : json(nullptr);
}

RecordJson::json RecordJson::user(const User& user) {
    return {{"userID", optional(user.userID)},
            {"displayName", optional(user.displayName)},
            {"phoneNumber", optional(user.phoneNumber)},
            {"account", user.getSocialTypeAsString()},
            {"registrationCompleted", user.registrationCompleted}};
}

RecordJson::json RecordJson::group(const Group& group, bool details) {
    json result = {{"groupID", optional(group.groupID)},
                   {"description", optional(group.jDescription)},
                   {"mode", Arguments::travelModeName(group.GroupType)},
                   {"created", date(group.created)},
                   {"start", date(group.startTime)},
                   {"end", date(group.endTime)}};
    if (details) {
        result["members"] = json::array();
        if (group.members) {
            for (const auto& member : *group.members) {
                if (member) result["members"].push_back(RecordJson::member(*member));
            }
        }
        result["waypoints"] = json::array();
        if (group.waypoints) {
            for (const auto& waypoint : *group.waypoints) {
                if (waypoint) result["waypoints"].push_back(RecordJson::waypoint(*waypoint));
            }
        }
    }
    return result;
}

RecordJson::json RecordJson::member(const Member& member) {
    return {{"userID", member.user ? optional(member.user->userID) : json(nullptr)},
            {"displayName", member.user ? optional(member.user->displayName) : json(nullptr)},
            {"isLeader", member.isLeader},
            {"joined", optional(member.joined)},
            {"deviceID", member.device ? json(member.device->deviceID) : json(nullptr)}};
}

RecordJson::json RecordJson::position(const Position& position) {
    return {{"deviceID", position.deviceID},
            {"latitude", optional(position.lati)},
            {"longitude", optional(position.longi)},
            {"synchronized", date(position.synchronized)}};
}

RecordJson::json RecordJson::waypoint(const Waypoint& waypoint) {
    return {{"waypointID", waypoint.waypointID},
            {"number", optional(waypoint.number)},
            {"latitude", optional(waypoint.lati)},
            {"longitude", optional(waypoint.longi)}};
}

RecordJson::json RecordJson::message(const Message& message) {
    return {{"messageID", message.messageID},
            {"fromUserID", optional(message.fromUserID)},
            {"toUserID", optional(message.toUserID)},
            {"sent", date(message.sent)},
            {"text", optional(message.text)}};
}

}  // namespace kelpa::cli
