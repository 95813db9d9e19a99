#pragma once

#include <string>

namespace kelpa {

// What the social network's kit gave at login, sent with a social sign-in or registration so
// that the service can have the network confirm the account: the access token, and for
// Twitter the token's secret (empty for Facebook).
struct SocialToken {
    std::string token;
    std::string secret;
};

}  // namespace kelpa
