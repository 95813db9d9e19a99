#pragma once

#include <string>

namespace kelpa::platform {

// A signed-in Twitter account. Sign-in reads only its user identifier.
struct TwitterSession {
    std::string userID;
    std::string userName;

    bool operator==(const TwitterSession&) const = default;
};

}  // namespace kelpa::platform
