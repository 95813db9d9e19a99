#include "client/service/Action.h"

#include <array>
#include <cstdlib>

namespace kelpa {

namespace {
using enum Action;
using R = ReplyKind;

constexpr std::array<ActionInfo, 36> kActions{{
    {registerNewUserWithSocialID, "registerNewUserWithSocialID", R::account, true},
    {loginUserWithUserID, "loginUserWithUserID", R::account, false},
    {loginUserWithSocialID, "loginUserWithSocialID", R::account, true},
    {updateDisplayName, "updateDisplayName", R::status, false},
    {loginUserWithEmail, "loginUserWithEmail", R::account, true},
    {registerNewUserWithEmail, "registerNewUserWithEmail", R::account, true},
    {updateDeviceToken, "updateDeviceToken", R::none, true},
    {getAllAvailableUsers, "getAllAvailableUsers", R::list, false},
    {setProfileImage, "setProfileImage", R::status, false},
    {deleteProfileImage, "deleteProfileImage", R::status, false},
    {sendSMS, "sendSMS", R::codeOnly, false},
    {getContactsUsingKelpa, "getContactsUsingKelpa", R::list, false},
    {updatePhoneNumber, "updatePhoneNumber", R::status, false},
    {updateRegistrationCompleted, "updateRegistrationCompleted", R::status, false},
    {getUserFromID, "getUserFromID", R::object, false},
    {updatePosition, "updatePosition", R::status, false},
    {loadPositions, "loadPositions", R::list, false},
    {newGroup, "newGroup", R::status, false},
    {getGroups, "getGroups", R::list, false},
    {leaveGroup, "removeGroup", R::status, false},
    {deleteGroup, "removeGroup", R::status, false},
    {join, "join", R::status, false},
    {inviteUser, "inviteUser", R::status, false},
    {removeMemberFromGroup, "removeMemberFromGroup", R::status, false},
    {unjoin, "unjoin", R::status, false},
    {loadMembers, "loadMembers", R::list, false},
    {quickJoin, "quickJoin", R::status, false},
    {getGroupFromID, "getGroupFromID", R::object, false},
    {requestGroupJoin, "requestGroupJoin", R::infoOnly, false},
    {addWaypoint, "addWaypoint", R::status, false},
    {loadWaypoints, "loadWaypoints", R::list, false},
    {addContact, "addContact", R::status, false},
    {getContacts, "getContacts", R::list, false},
    {removeContact, "removeContact", R::status, false},
    {sendMessage, "sendMessage", R::status, false},
    {getMessages, "getMessages", R::list, false},
}};
}  // namespace

std::span<const ActionInfo> ActionCatalogue::all() { return kActions; }

const ActionInfo& ActionCatalogue::info(Action action) {
    for (const auto& entry : kActions) {
        if (entry.action == action) return entry;
    }
    std::abort();  // every enumerator has a row
}

std::optional<Action> ActionCatalogue::fromCode(std::int32_t code) {
    for (const auto& entry : kActions) {
        if (static_cast<std::int32_t>(entry.action) == code) return entry.action;
    }
    return std::nullopt;
}

}  // namespace kelpa
