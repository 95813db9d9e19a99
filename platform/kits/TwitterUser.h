#pragma once

#include <string>

namespace kelpa::platform {

// A Twitter account's public profile: its identifier, display name and the address of its
// large profile picture.
struct TwitterUser {
    std::string userID;
    std::string name;
    std::string profileImageLargeURL;

    bool operator==(const TwitterUser&) const = default;
};

}  // namespace kelpa::platform
