#include "server/actions/RecordJson.h"

#include "server/WallClock.h"

namespace kelpa::server {

using nlohmann::json;

json RecordJson::user(const UserRow& u, bool self) {
    json j = {
        {"userID", std::to_string(u.id)},
        {"displayName", u.displayName},
        {"phoneNumber", self ? u.phoneNumber : std::string()},
        {"registrationFromSocial", u.socialType.has_value()},
        {"registrationCompleted", u.registrationCompleted},
    };
    if (u.socialType) {
        j["socialType"] = *u.socialType;
        j["socialID"] = self ? u.socialId : std::string();
    }
    return j;
}

json RecordJson::position(const PositionRow& p) {
    return {{"deviceID", std::to_string(p.deviceId)},
            {"lati", p.lati},
            {"longi", p.longi},
            {"synchronized", WallClock::format(p.synchronized)}};
}

json RecordJson::member(const MemberRow& m, std::int64_t viewer) {
    json j = {{"User", user(m.user, m.user.id == viewer)},
              {"groupID", std::to_string(m.groupId)},
              {"isLeader", m.isLeader},
              {"Device", nullptr}};
    if (m.joined && m.deviceId) {
        json device = {{"deviceID", std::to_string(*m.deviceId)}};
        if (m.position) device["Position"] = position(*m.position);
        j["Device"] = std::move(device);
        j["joined"] = WallClock::format(*m.joined);
    }
    return j;
}

json RecordJson::waypoint(const WaypointRow& w) {
    return {{"waypointID", std::to_string(w.id)},
            {"lati", w.lati},
            {"longi", w.longi},
            {"number", w.number},
            {"groupID", std::to_string(w.groupId)}};
}

json RecordJson::message(const MessageRow& m) {
    return {{"messageID", std::to_string(m.id)},
            {"text", m.text},
            {"fromUserID", std::to_string(m.fromUser)},
            {"toUserID", std::to_string(m.toUser)},
            {"sent", WallClock::format(m.sent)}};
}

json RecordJson::group(const GroupRow& g, const std::vector<MemberRow>& members,
                       const std::vector<WaypointRow>& waypoints, std::int64_t viewer) {
    json memberList = json::array(), waypointList = json::array();
    for (const auto& m : members) memberList.push_back(member(m, viewer));
    for (const auto& w : waypoints) waypointList.push_back(waypoint(w));
    return {{"groupID", std::to_string(g.id)},
            {"description", g.description},
            {"created", WallClock::format(g.created)},
            {"groupType", g.groupType},
            {"startTime", WallClock::format(g.startTime)},
            {"endTime", WallClock::format(g.endTime)},
            {"Members", std::move(memberList)},
            {"Waypoints", std::move(waypointList)}};
}

}  // namespace kelpa::server
