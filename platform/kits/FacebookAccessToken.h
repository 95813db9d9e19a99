#pragma once

#include <string>

namespace kelpa::platform {

// The token the Facebook kit holds after a login: whose it is, and the token itself, which
// sign-in hands to the service so that Facebook can confirm the account.
struct FacebookAccessToken {
    std::string userID;
    std::string tokenString;

    bool operator==(const FacebookAccessToken&) const = default;
};

}  // namespace kelpa::platform
