#pragma once

#include "client/model/Handlers.h"
#include "client/service/DateFormat.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace kelpa {

class Member;
class Position;
class User;
class Waypoint;

// A group of users sharing positions for a time window.
class Group : public std::enable_shared_from_this<Group> {
public:
    std::optional<std::string> groupID;  // none for a group made locally and not yet created
    std::optional<std::string> jDescription;
    std::optional<Date> created;
    std::int32_t GroupType = 0;  // 1 car, 2 bike, 3 pedestrian
    std::optional<Date> startTime;
    std::optional<Date> endTime;
    std::optional<std::string> wordOne;  // the secret words, known only right after creation
    std::optional<std::string> wordTwo;
    std::optional<RecordList<Member>> members;    // always set for a group built from JSON
    std::optional<RecordList<Waypoint>> waypoints;

    static std::shared_ptr<Group> initWithJSON(const nlohmann::json& json);

    // Posted on the main queue after the joined group was set, replaced or cleared.
    static constexpr const char* kJoinedGroupChangedNotification = "joinedGroupChanged";

    // The group whose positions this device shares; replaced on the main queue.
    static std::shared_ptr<Group> getJoinedGroup();
    static void setJoinedGroup(std::shared_ptr<Group> group);

    // Membership tests, answered at once from the members list.
    std::shared_ptr<Member> getMemberFromUser(const User& user) const;
    bool userIsAlreadyInGroup(const User& user) const;
    bool userIsJoined(const User& user) const;
    bool isLeadingUser(const User& user) const;

    std::string getStringFromType() const;

    // (code, first word, second word, info)
    using CreationHandler = std::function<void(std::int32_t code, Info wordOne, Info wordTwo, Info info)>;
    using JoinRequestHandler = std::function<void(Info info)>;

    static void newAdhocGroup(std::shared_ptr<Group> group, CreationHandler handler);
    static void newGroup(std::shared_ptr<Group> group, RecordList<User> withUsers, RecordList<Waypoint> andWaypoints,
                         CreationHandler handler);
    static void getGroupFromID(const std::string& groupID, RecordHandler<Group> handler);
    static void quickJoinWithWordOne(const std::string& wordOne, const std::string& andWordTwo, StatusHandler handler);
    static ImagePtr getLeaderImage();

    void joinWithCompletitionHandler(StatusHandler handler);
    void unjoinWithCompletitionHandler(StatusHandler handler);
    void removeGroupWithCompletitionHandler(StatusHandler handler);
    void inviteUsers(RecordList<User> users, StatusHandler handler);
    void inviteUser(std::shared_ptr<User> user, StatusHandler handler);
    void loadMembersWithCompletitionHandler(ListHandler<Member> handler);
    void loadMembersWithCompletitionHandler(ListHandler<Member> handler, bool withReloading);
    void loadPositionsWithCompletitionHandler(ListHandler<Position> handler);
    void addWaypoints(RecordList<Waypoint> waypoints, StatusHandler handler);
    // Sends "number" too when the waypoint has one. The handler runs on the main queue.
    void addWaypoint(std::shared_ptr<Waypoint> waypoint, StatusHandler handler);
    void loadWaypointsWithCompletitionHandler(ListHandler<Waypoint> handler);
    void loadWaypointsWithCompletitionHandler(ListHandler<Waypoint> handler, bool withReloading);
    // (info or none); no reply at all gives "Unknown Error", so none always means the request went out.
    void requestGroupJoin(JoinRequestHandler handler);
};

}  // namespace kelpa
