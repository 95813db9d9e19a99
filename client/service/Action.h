#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace kelpa {

// Every operation the service offers, by its action code. Requests name their operation
// with these values only; the hundreds group the families: 1xx account and user,
// 2xx positions, 3xx groups, 4xx waypoints, 5xx contacts, 6xx chat.
enum class Action : std::int32_t {
    registerNewUserWithSocialID = 100,
    loginUserWithUserID = 101,
    loginUserWithSocialID = 102,
    updateDisplayName = 103,
    loginUserWithEmail = 104,
    registerNewUserWithEmail = 105,
    updateDeviceToken = 106,
    getAllAvailableUsers = 107,
    setProfileImage = 108,
    deleteProfileImage = 109,
    sendSMS = 110,
    getContactsUsingKelpa = 111,
    updatePhoneNumber = 112,
    updateRegistrationCompleted = 113,
    getUserFromID = 114,
    updatePosition = 200,
    loadPositions = 201,
    newGroup = 300,
    getGroups = 301,
    leaveGroup = 302,   // remove a group the user does not lead: leave it
    deleteGroup = 303,  // remove a group the user leads: delete it
    join = 305,
    inviteUser = 306,
    removeMemberFromGroup = 307,
    unjoin = 308,
    loadMembers = 309,
    quickJoin = 311,
    getGroupFromID = 312,
    requestGroupJoin = 313,
    addWaypoint = 400,
    loadWaypoints = 401,
    addContact = 500,
    getContacts = 501,
    removeContact = 502,
    sendMessage = 600,
    getMessages = 601,
};

// How the caller reads the reply of an action.
enum class ReplyKind {
    account,  // "code" present: failure; otherwise the object is the payload
    status,   // "info" present: failure with "code" and "info"
    list,     // a list (or an object holding one), records on success
    object,   // one record object
    codeOnly,
    infoOnly,
    none,
};

struct ActionInfo {
    Action action;
    std::string_view name;  // the operation's name, also the label of its background queue
    ReplyKind reply;
    bool anonymous;  // sent with the anonymous user identifier
};

class ActionCatalogue {
public:
    static std::span<const ActionInfo> all();
    static const ActionInfo& info(Action action);
    static std::optional<Action> fromCode(std::int32_t code);
    static constexpr std::int32_t code(Action action) { return static_cast<std::int32_t>(action); }
};

}  // namespace kelpa
