#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kelpa::server {

// A user as the store hands it out. The password hash is deliberately not part of it: it
// travels only in Credential, which no reply writer accepts.
struct UserRow {
    std::int64_t id = 0;
    std::string displayName;
    std::string phoneNumber;
    bool registrationCompleted = false;
    std::optional<int> socialType;  // set for accounts registered through a social network
    std::string socialId;
};

}  // namespace kelpa::server
