#include "client/model/Group.h"

#include "client/model/Member.h"
#include "client/model/ProcessValues.h"
#include "client/model/RecordMapping.h"
#include "client/model/User.h"
#include "client/model/Waypoint.h"
#include "platform/Environment.h"

namespace kelpa {

using C = JSONConversion;

std::shared_ptr<Group> Group::initWithJSON(const nlohmann::json& json) {
    auto group = std::make_shared<Group>();
    group->groupID = C::text(json, "groupID");
    group->jDescription = C::unchangedText(json, "description");
    group->created = C::date(json, "created");
    group->GroupType = C::integer(json, "groupType");
    group->startTime = C::date(json, "startTime");
    group->endTime = C::date(json, "endTime");
    group->members = RecordMapping::list<Member>(json, "Members");
    group->waypoints = RecordMapping::list<Waypoint>(json, "Waypoints");
    return group;
}

std::shared_ptr<Group> Group::getJoinedGroup() {
    return platform::Environment::current()->local<ProcessValues>().joinedGroup;
}

void Group::setJoinedGroup(std::shared_ptr<Group> group) {
    platform::Environment::current()->local<ProcessValues>().joinedGroup = std::move(group);
}

namespace {
bool sameUser(const Member& member, const User& user) {
    return member.user && member.user->userID && user.userID && *member.user->userID == *user.userID;
}
}  // namespace

std::shared_ptr<Member> Group::getMemberFromUser(const User& user) const {
    if (!members) return nullptr;
    for (const auto& member : *members) {
        if (member && sameUser(*member, user)) return member;
    }
    return nullptr;
}

bool Group::userIsAlreadyInGroup(const User& user) const { return getMemberFromUser(user) != nullptr; }

bool Group::userIsJoined(const User& user) const {
    if (!members) return false;
    for (const auto& member : *members) {
        if (member && sameUser(*member, user) && member->joined) return true;
    }
    return false;
}

bool Group::isLeadingUser(const User& user) const {
    if (!members) return false;
    for (const auto& member : *members) {
        if (member && sameUser(*member, user) && member->isLeader) return true;
    }
    return false;
}

std::string Group::getStringFromType() const {
    switch (GroupType) {
        case 1: return "Car";
        case 2: return "Bike";
        case 3: return "Pedestrian";
        default: return "UNDEFINED";
    }
}

}  // namespace kelpa
