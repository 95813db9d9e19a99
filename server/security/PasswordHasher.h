#pragma once

#include <cstddef>
#include <string>

namespace kelpa::server {

// argon2id through libsodium. The cost is a setting so that tests (and sanitizer builds)
// can run with the minimum; production keeps libsodium's interactive defaults.
class PasswordHasher {
public:
    struct Cost {
        unsigned long long ops;
        std::size_t memory;
        static Cost interactive();
        static Cost minimal();
    };

    explicit PasswordHasher(Cost cost);
    std::string hash(const std::string& password) const;
    bool verify(const std::string& stored, const std::string& password) const;

private:
    Cost cost_;
};

}  // namespace kelpa::server
