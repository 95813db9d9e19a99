// The account calls of API: sign-in three ways, registration two ways, and the verification
// text message. A success installs the signed-in user on the main queue before the handler.
#include "client/model/Group.h"
#include "client/model/KelpaDefaults.h"
#include "client/model/User.h"
#include "client/service/API.h"
#include "client/service/JSONConversion.h"
#include "client/service/Reply.h"
#include "platform/Async.h"

namespace kelpa {

namespace {
struct SignIn {
    std::int32_t code = 1;
    std::shared_ptr<User> user;  // a new record, only on success
};

// An account reply: "code" means failure with that code, otherwise the object is the payload.
// No reply, and anything but an object, is failure 1.
SignIn readSignIn(const API::Reply& reply) {
    if (!reply || !reply->is_object()) return {1, nullptr};
    if (JSONConversion::member(*reply, "code")) return {Reply::code(*reply), nullptr};
    return {0, User::initWithJSON(*reply)};
}

struct Registration {
    std::int32_t code = 1;
    std::optional<std::string> userID;  // the new identifier as text, only on success
};

Registration readRegistration(const API::Reply& reply) {
    if (!reply || !reply->is_object()) return {1, std::nullopt};
    if (JSONConversion::member(*reply, "code")) return {Reply::code(*reply), std::nullopt};
    return {0, JSONConversion::text(*reply, "userID")};
}

enum class Remember { no, yes };
enum class LoadGroups { no, yes };

void signIn(const char* label, Parameters parameters, std::optional<std::string> userID, Remember remember,
            LoadGroups loadGroups, API::LoginHandler handler) {
    platform::runInBackground(
        label,
        [parameters = std::move(parameters), userID] {
            return readSignIn(API::requestWithDictionary(parameters, userID));
        },
        [remember, loadGroups, handler = std::move(handler)](SignIn result) {
            if (result.user) {
                User::setCurrentUser(result.user);
                if (remember == Remember::yes && result.user->userID) KelpaDefaults::saveUserID(*result.user->userID);
                // The groups load also settles the joined group.
                if (loadGroups == LoadGroups::yes) result.user->getGroupsWithCompletitionHandler([](auto, auto) {}, true);
            }
            if (handler) handler(result.code, result.user);
        });
}

void registerUser(const char* label, Parameters parameters, std::shared_ptr<User> user,
                  std::function<void(User&)> describe, API::CodeHandler handler) {
    platform::runInBackground(
        label,
        [parameters = std::move(parameters)] {
            return readRegistration(API::requestWithDictionary(parameters, std::string(API::kAnonymousUserID)));
        },
        [user, describe = std::move(describe), handler = std::move(handler)](Registration result) {
            if (result.userID) {
                user->userID = result.userID;
                describe(*user);
                User::setCurrentUser(user);
                KelpaDefaults::saveUserID(*result.userID);
            }
            if (handler) handler(result.code);
        });
}

// The service has the network confirm the account from its token (and secret, for Twitter).
Parameters withToken(Parameters parameters, const SocialToken& token) {
    parameters.add("socialToken", token.token);
    if (!token.secret.empty()) parameters.add("socialTokenSecret", token.secret);
    return parameters;
}

std::string displayNameOf(const std::shared_ptr<User>& user) {
    return user && user->displayName ? *user->displayName : "";
}
}  // namespace

void API::loginUserWithUserID(const std::string& userID, LoginHandler handler) {
    // Signing in again from the stored identifier leaves "kUserID" as it is.
    signIn("loginUserWithID", Parameters(Action::loginUserWithUserID), userID, Remember::no, LoadGroups::yes,
           std::move(handler));
}

void API::loginUserWithSocialID(const std::string& socialID, std::int32_t type, const SocialToken& token,
                                LoginHandler handler) {
    signIn("loginUserWithSocialID",
           withToken(Parameters(Action::loginUserWithSocialID).add("socialType", type).add("socialID", socialID), token),
           std::string(kAnonymousUserID), Remember::yes, LoadGroups::yes, std::move(handler));
}

void API::loginUserWithEmail(const std::string& email, const std::string& password, LoginHandler handler) {
    signIn("loginUserWithEmail", Parameters(Action::loginUserWithEmail).add("email", email).add("password", password),
           std::string(kAnonymousUserID), Remember::yes, LoadGroups::no, std::move(handler));
}

void API::registerNewUser(std::shared_ptr<User> user, const std::string& withEmail, const std::string& andPassword,
                          CodeHandler handler) {
    registerUser("registerUserWithEmailQueue",
                 Parameters(Action::registerNewUserWithEmail)
                     .add("email", withEmail)
                     .add("password", andPassword)
                     .add("displayName", displayNameOf(user)),
                 user,
                 [](User& registered) {
                     registered.registrationFromSocial = false;
                     registered.socialType = -1;
                 },
                 std::move(handler));
}

void API::registerNewUser(std::shared_ptr<User> user, const std::string& withSocialID, std::int32_t andType,
                          const SocialToken& token, CodeHandler handler) {
    registerUser("registerUserWithSocialID",
                 withToken(Parameters(Action::registerNewUserWithSocialID)
                               .add("socialID", withSocialID)
                               .add("socialType", andType)
                               .add("displayName", displayNameOf(user)),
                           token),
                 user,
                 [withSocialID, andType](User& registered) {
                     registered.registrationFromSocial = true;
                     registered.socialType = andType;
                     registered.socialID = withSocialID;
                 },
                 std::move(handler));
}

void API::sendSMS(const std::string& body, const std::string& to, CodeHandler handler) {
    auto current = User::getCurrentUser();
    std::optional<std::string> userID = current ? current->userID : std::nullopt;
    platform::runInBackground(
        "sendSMSQueue",
        [parameters = Parameters(Action::sendSMS).add("body", body).add("target", to), userID] {
            // No reply is a failed send, not a silent success.
            auto reply = API::requestWithDictionary(parameters, userID);
            return reply && reply->is_object() ? kelpa::Reply::code(*reply) : std::int32_t(1);
        },
        [handler](std::int32_t code) {
            if (handler) handler(code);
        });
}

}  // namespace kelpa
