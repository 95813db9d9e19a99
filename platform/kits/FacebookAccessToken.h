#pragma once

#include <string>

namespace kelpa::platform {

// The token the Facebook kit holds after a login. Sign-in reads only whose token it is.
struct FacebookAccessToken {
    std::string userID;

    bool operator==(const FacebookAccessToken&) const = default;
};

}  // namespace kelpa::platform
