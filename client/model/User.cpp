#include "client/model/User.h"

#include "client/model/Group.h"
#include "client/model/Message.h"
#include "client/model/ModelRequest.h"
#include "client/model/ProcessValues.h"
#include "client/service/JSONConversion.h"
#include "platform/Async.h"
#include "platform/Environment.h"

namespace kelpa {

using C = JSONConversion;

std::shared_ptr<User> User::initWithJSON(const nlohmann::json& json) {
    auto user = std::make_shared<User>();
    user->userID = C::unchangedText(json, "userID");
    user->displayName = C::unchangedText(json, "displayName");
    user->phoneNumber = C::unchangedText(json, "phoneNumber");
    user->registrationFromSocial = C::boolean(json, "registrationFromSocial");
    user->registrationCompleted = C::boolean(json, "registrationCompleted");
    if (user->registrationFromSocial) {
        user->socialID = C::unchangedText(json, "socialID");
        user->socialType = C::integer(json, "socialType");
    }
    return user;
}

std::shared_ptr<User> User::getCurrentUser() {
    return platform::Environment::current()->local<ProcessValues>().currentUser;
}

void User::setCurrentUser(std::shared_ptr<User> user) {
    platform::Environment::current()->local<ProcessValues>().currentUser = std::move(user);
}

void User::getGroupsWithCompletitionHandler(ListHandler<Group> handler) {
    getGroupsWithCompletitionHandler(std::move(handler), false);
}

void User::getGroupsWithCompletitionHandler(ListHandler<Group> handler, bool withReloading) {
    ModelRequest::cachedList(shared_from_this(), &User::groups, "getGroups", Parameters(Action::getGroups), nullptr,
                             withReloading, std::move(handler), [](const RecordList<Group>& groups) {
                                 // The reply settles the joined group: none, then each group the
                                 // signed-in user is joined to in turn, so the last one wins.
                                 auto current = getCurrentUser();
                                 Group::setJoinedGroup(nullptr);
                                 for (const auto& group : groups) {
                                     if (current && group && group->userIsJoined(*current)) Group::setJoinedGroup(group);
                                 }
                             });
}

void User::getAllAvailableUsers(ListHandler<User> handler) {
    auto userID = ModelRequest::currentUserID();
    platform::runInBackground(
        "getAllAvailableUsers",
        [userID] {
            return ModelRequest::records<User>(
                API::requestWithDictionary(Parameters(Action::getAllAvailableUsers), userID));
        },
        [handler](std::optional<RecordList<User>> users) {
            if (!handler) return;
            if (users) {
                handler(std::move(users), std::nullopt);
            } else {
                handler(std::nullopt, std::string(Reply::kUnknownError));
            }
        });
}

void User::getUserFromID(const std::string& userID, RecordHandler<User> handler) {
    auto currentID = ModelRequest::currentUserID();
    platform::runInBackground(
        "getUserFromID",
        [userID, currentID] {
            auto reply = API::requestWithDictionary(Parameters(Action::getUserFromID).add("loadID", userID), currentID);
            return ModelRequest::record<User>(reply);
        },
        [handler](ModelRequest::Loaded<User> loaded) {
            if (handler) handler(std::move(loaded.record), std::move(loaded.error));
        });
}

void User::getMessagesWithUser(std::shared_ptr<User> user, ListHandler<Message> andCompletitionHandler) {
    auto userID = ModelRequest::currentUserID();
    auto parameters = Parameters(Action::getMessages).add("toUserID", user && user->userID ? *user->userID : "");
    platform::runInBackground(
        "getMessages",
        [parameters, userID] {
            return ModelRequest::records<Message>(API::requestWithDictionary(parameters, userID));
        },
        [handler = std::move(andCompletitionHandler)](std::optional<RecordList<Message>> messages) {
            if (!handler) return;
            if (messages) {
                handler(std::move(messages), std::nullopt);
            } else {
                handler(std::nullopt, std::string("Unknown error"));
            }
        });
}

void User::updateDisplayName(const std::string& displayName, StatusHandler handler) {
    ModelRequest::status(
        "updateDisplayName", Parameters(Action::updateDisplayName).add("displayName", displayName),
        [self = shared_from_this(), displayName] { self->displayName = displayName; }, std::move(handler));
}

void User::updatePhoneNumber(const std::string& phoneNumber, StatusHandler handler) {
    ModelRequest::status(
        "updatePhoneNumber", Parameters(Action::updatePhoneNumber).add("phoneNumber", phoneNumber),
        [self = shared_from_this(), phoneNumber] { self->phoneNumber = phoneNumber; }, std::move(handler));
}

void User::updatePhoneNumber(const std::string& phoneNumber, const std::string& code, StatusHandler handler) {
    ModelRequest::status(
        "updatePhoneNumber", Parameters(Action::updatePhoneNumber).add("phoneNumber", phoneNumber).add("code", code),
        [self = shared_from_this(), phoneNumber] { self->phoneNumber = phoneNumber; }, std::move(handler));
}

void User::updateRegistrationCompleted(bool completed, StatusHandler handler) {
    // The service reads the flag under "toUserID".
    ModelRequest::status(
        "updateRegistrationCompleted",
        Parameters(Action::updateRegistrationCompleted).add("toUserID", std::int32_t(completed ? 1 : 0)),
        [self = shared_from_this(), completed] { self->registrationCompleted = completed; }, std::move(handler));
}

std::string User::getSocialTypeAsString() const {
    switch (socialType) {
        case -1: return "email";
        case 0: return "facebook";
        case 1: return "twitter";
        default: return "UNDEFINED";
    }
}

}  // namespace kelpa
