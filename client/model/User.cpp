#include "client/model/User.h"

#include "client/model/Group.h"
#include "client/model/ProcessValues.h"
#include "client/service/JSONConversion.h"
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

std::string User::getSocialTypeAsString() const {
    switch (socialType) {
        case -1: return "email";
        case 0: return "facebook";
        case 1: return "twitter";
        default: return "UNDEFINED";
    }
}

}  // namespace kelpa
