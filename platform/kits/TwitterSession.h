#pragma once

#include <string>

namespace kelpa::platform {

// A signed-in Twitter account: its identifier and name, and the OAuth token and secret the
// login gave, which sign-in hands to the service so that Twitter can confirm the account.
struct TwitterSession {
    std::string userID;
    std::string userName;
    std::string authToken;
    std::string authTokenSecret;

    bool operator==(const TwitterSession&) const = default;
};

}  // namespace kelpa::platform
