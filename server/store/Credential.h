#pragma once

#include <cstdint>
#include <string>

namespace kelpa::server {

// The stored argon2id hash of an e-mail account; only the sign-in check ever reads it.
struct Credential {
    std::int64_t userId = 0;
    std::string passwordHash;
};

}  // namespace kelpa::server
