// Creating groups, and what creation starts: inviting users and adding waypoints.
#include "client/model/Group.h"
#include "client/model/Member.h"
#include "client/model/ModelRequest.h"
#include "client/model/User.h"
#include "client/model/Waypoint.h"
#include "client/service/JSONConversion.h"
#include "platform/Async.h"
#include "platform/Environment.h"
#include "platform/Log.h"
#include "platform/MainQueue.h"

namespace kelpa {

namespace {
struct Creation {
    StatusResult status;
    // Read only on success: the record takes them as text, the handler as they came.
    std::string groupID;
    std::string wordOneText;
    std::string wordTwoText;
    Info wordOne;
    Info wordTwo;
};

std::string wireDate(const std::optional<Date>& date) { return date ? DateFormat::formatWire(*date) : ""; }

// Sends action 300; `then` runs on the main queue after a success has been stored in the group.
void create(const char* label, std::shared_ptr<Group> group, const std::string& startTime,
            const std::string& endTime, Group::CreationHandler handler, std::function<void()> then) {
    auto userID = ModelRequest::currentUserID();
    auto parameters = Parameters(Action::newGroup)
                          .add("description", group->jDescription.value_or(""))
                          .add("startTime", startTime)
                          .add("endTime", endTime)
                          .add("groupType", group->GroupType);
    platform::runInBackground(
        label,
        [parameters, userID] {
            auto reply = API::requestWithDictionary(parameters, userID);
            Creation creation{Reply::status(reply), {}, {}, {}, {}, {}};
            if (!creation.status.info && reply) {
                using C = JSONConversion;
                creation.groupID = C::text(*reply, "groupID");
                creation.wordOneText = C::text(*reply, "wordOne");
                creation.wordTwoText = C::text(*reply, "wordTwo");
                creation.wordOne = C::unchangedText(*reply, "wordOne");
                creation.wordTwo = C::unchangedText(*reply, "wordTwo");
            }
            return creation;
        },
        [group, handler, then](Creation creation) {
            if (creation.status.info) {
                if (handler) handler(creation.status.code, std::nullopt, std::nullopt, creation.status.info);
                return;
            }
            group->groupID = creation.groupID;
            group->wordOne = creation.wordOneText;
            group->wordTwo = creation.wordTwoText;
            if (then) then();
            if (handler) handler(creation.status.code, creation.wordOne, creation.wordTwo, std::nullopt);
        });
}
}  // namespace

void Group::newAdhocGroup(std::shared_ptr<Group> group, CreationHandler handler) {
    auto current = User::getCurrentUser();
    const std::string name = current && current->displayName ? *current->displayName : "(null)";
    const Date now = platform::Environment::current()->mainQueue->now();
    group->jDescription = "ad hoc group from " + name;
    group->GroupType = 1;
    group->startTime = now;
    group->endTime = DateFormat::addOneYear(now);
    create("newAdhocGroup", group, DateFormat::formatWire(now), DateFormat::formatWire(*group->endTime),
           std::move(handler), nullptr);
}

void Group::newGroup(std::shared_ptr<Group> group, RecordList<User> withUsers, RecordList<Waypoint> andWaypoints,
                     CreationHandler handler) {
    const std::string startTime = wireDate(group->startTime);
    const std::string endTime = wireDate(group->endTime);
    create("newGroup", group, startTime, endTime, std::move(handler),
           [group, users = std::move(withUsers), waypoints = std::move(andWaypoints)] {
               // Neither follow-up is awaited; each reloads its list once all its requests went out.
               group->addWaypoints(waypoints, [group](std::int32_t code, Info) {
                   if (code == 0) group->loadWaypointsWithCompletitionHandler([](auto, auto) {}, true);
               });
               group->inviteUsers(users, [group](std::int32_t code, Info info) {
                   if (code == 1) platform::log(info.value_or(""));
                   if (code == 0) group->loadMembersWithCompletitionHandler([](auto, auto) {}, true);
               });
           });
}

void Group::inviteUsers(RecordList<User> users, StatusHandler handler) {
    for (const auto& user : users) {
        inviteUser(user, [handler](std::int32_t code, Info info) {
            if (code == 1 && handler) handler(1, std::move(info));
        });
    }
    if (handler) handler(0, std::nullopt);
}

void Group::inviteUser(std::shared_ptr<User> user, StatusHandler handler) {
    ModelRequest::status("inviteUser",
                         Parameters(Action::inviteUser)
                             .add("groupID", groupID.value_or(""))
                             .add("inviteID", user && user->userID ? *user->userID : ""),
                         nullptr, std::move(handler));
}

void Group::addWaypoints(RecordList<Waypoint> waypoints, StatusHandler handler) {
    for (const auto& waypoint : waypoints) {
        addWaypoint(waypoint, [handler](std::int32_t code, Info) {
            if (code == 1 && handler) handler(1, std::nullopt);
        });
    }
    if (handler) handler(0, std::nullopt);
}

void Group::addWaypoint(std::shared_ptr<Waypoint> waypoint, StatusHandler handler) {
    // The handler is delivered on the main queue rather than on the request's own queue: the
    // handler of addWaypoints may touch records, which only the main queue may do.
    auto parameters = Parameters(Action::addWaypoint).add("groupID", groupID.value_or(""));
    if (waypoint && waypoint->lati) parameters.add("lati", *waypoint->lati);
    if (waypoint && waypoint->longi) parameters.add("longi", *waypoint->longi);
    // The waypoint's place in the route travels with it, so the order survives creation.
    if (waypoint && waypoint->number) parameters.add("number", *waypoint->number);
    ModelRequest::status("addWaypoint", std::move(parameters), nullptr, std::move(handler));
}

}  // namespace kelpa
