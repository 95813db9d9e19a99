#include "client/model/Group.h"

#include "client/model/Member.h"
#include "client/model/ModelRequest.h"
#include "client/model/ProcessValues.h"
#include "client/model/RecordMapping.h"
#include "client/model/User.h"
#include "client/model/Waypoint.h"
#include "platform/Async.h"
#include "platform/Environment.h"
#include "platform/MainQueue.h"
#include "platform/NotificationCenter.h"

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
    auto env = platform::Environment::current();
    auto& values = env->local<ProcessValues>();
    values.joinedGroup = std::move(group);
    // Announced once the current task is over, so settling the joined group in several steps
    // (none, then each joined group in turn) is one change, or none when it ends as it began.
    if (values.joinedGroupAnnouncementPending || !env->mainQueue || !env->notifications) return;
    values.joinedGroupAnnouncementPending = true;
    env->mainQueue->post([weak = std::weak_ptr(env)] {
        auto env = weak.lock();
        if (!env) return;
        auto& settled = env->local<ProcessValues>();
        settled.joinedGroupAnnouncementPending = false;
        if (settled.announcedJoinedGroup == settled.joinedGroup) return;
        settled.announcedJoinedGroup = settled.joinedGroup;
        env->notifications->post(kJoinedGroupChangedNotification);
    });
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

namespace {
std::string idOf(const std::optional<std::string>& groupID) { return groupID.value_or(""); }
}  // namespace

void Group::getGroupFromID(const std::string& groupID, RecordHandler<Group> handler) {
    auto userID = ModelRequest::currentUserID();
    platform::runInBackground(
        "getGroupFromID",
        [groupID, userID] {
            auto reply =
                API::requestWithDictionary(Parameters(Action::getGroupFromID).add("loadID", groupID), userID);
            return ModelRequest::record<Group>(reply);
        },
        [handler](ModelRequest::Loaded<Group> loaded) {
            if (handler) handler(std::move(loaded.record), std::move(loaded.error));
        });
}

void Group::quickJoinWithWordOne(const std::string& wordOne, const std::string& andWordTwo, StatusHandler handler) {
    // The words go out exactly as typed; joining by words does not change the joined group.
    ModelRequest::status("quickJoin", Parameters(Action::quickJoin).add("wordOne", wordOne).add("wordTwo", andWordTwo),
                         nullptr, std::move(handler));
}

ImagePtr Group::getLeaderImage() { return nullptr; }

void Group::joinWithCompletitionHandler(StatusHandler handler) {
    ModelRequest::status(
        "join", Parameters(Action::join).add("groupID", idOf(groupID)),
        [self = shared_from_this()] { setJoinedGroup(self); }, std::move(handler));
}

void Group::unjoinWithCompletitionHandler(StatusHandler handler) {
    ModelRequest::status(
        "unjoin", Parameters(Action::unjoin).add("groupID", idOf(groupID)), [] { setJoinedGroup(nullptr); },
        std::move(handler));
}

void Group::removeGroupWithCompletitionHandler(StatusHandler handler) {
    // A leader deletes the group, anybody else leaves it; leadership counts as it is now.
    auto current = User::getCurrentUser();
    const bool leads = current && isLeadingUser(*current);
    ModelRequest::status(
        "removeGroup", Parameters(leads ? Action::deleteGroup : Action::leaveGroup).add("groupID", idOf(groupID)),
        [] {
            if (auto user = User::getCurrentUser()) user->getGroupsWithCompletitionHandler([](auto, auto) {}, true);
        },
        std::move(handler));
}

void Group::requestGroupJoin(JoinRequestHandler handler) {
    auto userID = ModelRequest::currentUserID();
    auto parameters = Parameters(Action::requestGroupJoin).add("groupID", idOf(groupID));
    platform::runInBackground(
        "requestGroupJoin",
        [parameters, userID]() -> Info {
            // Only "info" is read. No reply at all is no success either.
            auto reply = API::requestWithDictionary(parameters, userID);
            if (!reply || !reply->is_object()) return std::string(Reply::kUnknownError);
            return Reply::info(*reply);
        },
        [handler](Info info) {
            if (handler) handler(std::move(info));
        });
}

}  // namespace kelpa
