#pragma once

#include <sodium.h>

#include <mutex>
#include <string>
#include <unordered_map>

namespace kelpa::server {

// The installation identifier binds requests to a user, so it is a secret: the store keeps
// only HMAC-SHA256(secret, identifier). A leaked database cannot be replayed as requests.
// Every request needs its device's key, so the HMAC state keyed with the secret is made once,
// and the keys of recent devices are remembered.
class DeviceKeys {
public:
    explicit DeviceKeys(std::string secret);
    std::string keyFor(const std::string& deviceId) const;
    // The HMAC of any text, in hex, not remembered.
    std::string digest(const std::string& text) const;
    static std::string randomSecret();

private:
    static constexpr std::size_t kRemembered = 4096;

    crypto_auth_hmacsha256_state keyed_;
    mutable std::mutex mutex_;
    mutable std::unordered_map<std::string, std::string> recent_;
};

}  // namespace kelpa::server
