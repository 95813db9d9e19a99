#pragma once

#include "platform/kits/FacebookAccessToken.h"

#include <optional>
#include <set>
#include <string>

namespace kelpa::platform {

// What a finished Facebook login reports: the user may cancel, or grant fewer permissions
// than were asked for, so sign-in checks both before it goes on.
struct FacebookLoginResult {
    bool isCancelled = false;
    std::set<std::string> grantedPermissions;
    std::optional<FacebookAccessToken> token;

    bool operator==(const FacebookLoginResult&) const = default;
};

}  // namespace kelpa::platform
