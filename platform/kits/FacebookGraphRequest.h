#pragma once

#include <map>
#include <string>

namespace kelpa::platform {

// One Graph API call: the path (a user's identifier for that user's profile) and its query
// parameters.
struct FacebookGraphRequest {
    std::string graphPath;
    std::map<std::string, std::string> parameters;

    bool operator==(const FacebookGraphRequest&) const = default;
};

}  // namespace kelpa::platform
