// Loading a group's members, positions and waypoints. Members and waypoints are cached in the
// group's lists, each with its own rule; positions never are.
#include "client/model/Group.h"
#include "client/model/Member.h"
#include "client/model/ModelRequest.h"
#include "client/model/Position.h"
#include "client/model/Waypoint.h"
#include "platform/Async.h"

namespace kelpa {

namespace {
Parameters withGroup(Action action, const std::optional<std::string>& groupID) {
    return Parameters(action).add("groupID", groupID.value_or(""));
}
}  // namespace

void Group::loadMembersWithCompletitionHandler(ListHandler<Member> handler) {
    loadMembersWithCompletitionHandler(std::move(handler), false);
}

void Group::loadMembersWithCompletitionHandler(ListHandler<Member> handler, bool withReloading) {
    if (members) {
        if (handler) handler(members, std::nullopt);
        if (!withReloading) return;
    }
    auto userID = ModelRequest::currentUserID();
    auto parameters = withGroup(Action::loadMembers, groupID);
    platform::runInBackground(
        "loadMembers",
        [parameters, userID] { return ModelRequest::records<Member>(API::requestWithDictionary(parameters, userID)); },
        [self = shared_from_this(), handler](std::optional<RecordList<Member>> loaded) {
            if (!loaded) {
                if (handler) handler(std::nullopt, std::string(Reply::kUnknownError));
                return;
            }
            self->members = std::move(loaded);
            if (handler) handler(self->members, std::nullopt);
        });
}

void Group::loadPositionsWithCompletitionHandler(ListHandler<Position> handler) {
    auto userID = ModelRequest::currentUserID();
    auto parameters = withGroup(Action::loadPositions, groupID);
    platform::runInBackground(
        "loadPositions",
        [parameters, userID] {
            return ModelRequest::records<Position>(API::requestWithDictionary(parameters, userID));
        },
        [handler](std::optional<RecordList<Position>> positions) {
            if (!handler) return;
            if (positions) {
                handler(std::move(positions), std::nullopt);
            } else {
                handler(std::nullopt, std::string(Reply::kUnknownError));
            }
        });
}

void Group::loadWaypointsWithCompletitionHandler(ListHandler<Waypoint> handler) {
    loadWaypointsWithCompletitionHandler(std::move(handler), false);
}

void Group::loadWaypointsWithCompletitionHandler(ListHandler<Waypoint> handler, bool withReloading) {
    // Unlike members, waypoints are fetched only when asked to reload; otherwise the held
    // list, or none, is the answer.
    if (!withReloading) {
        if (handler) handler(waypoints, std::nullopt);
        return;
    }
    auto userID = ModelRequest::currentUserID();
    auto parameters = withGroup(Action::loadWaypoints, groupID);
    platform::runInBackground(
        "loadWaypoints",
        [parameters, userID] {
            return ModelRequest::records<Waypoint>(API::requestWithDictionary(parameters, userID));
        },
        [self = shared_from_this(), handler](std::optional<RecordList<Waypoint>> loaded) {
            if (!loaded) {
                if (handler) handler(std::nullopt, std::string("Unknown error"));
                return;
            }
            self->waypoints = std::move(loaded);
            if (handler) handler(self->waypoints, std::nullopt);
        });
}

}  // namespace kelpa
