#pragma once

#include <string>

namespace kelpa::server {

// The installation identifier binds requests to a user, so it is a secret: the store keeps
// only HMAC-SHA256(secret, identifier). A leaked database cannot be replayed as requests.
class DeviceKeys {
public:
    explicit DeviceKeys(std::string secret);
    std::string keyFor(const std::string& deviceId) const;
    static std::string randomSecret();

private:
    std::string secret_;
};

}  // namespace kelpa::server
