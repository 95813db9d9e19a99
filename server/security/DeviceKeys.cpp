#include "server/security/DeviceKeys.h"

#include <openssl/rand.h>
#include <sodium.h>

#include <stdexcept>

namespace kelpa::server {
namespace {

std::string hex(const unsigned char* data, std::size_t size) {
    std::string out(size * 2 + 1, '\0');
    sodium_bin2hex(out.data(), out.size(), data, size);
    out.pop_back();
    return out;
}

}  // namespace

DeviceKeys::DeviceKeys(std::string secret) {
    // libsodium's HMAC-SHA256 (standard HMAC, any key length); its state after the key is
    // copied for every identifier.
    crypto_auth_hmacsha256_init(&keyed_, reinterpret_cast<const unsigned char*>(secret.data()), secret.size());
    sodium_memzero(secret.data(), secret.size());
}

std::string DeviceKeys::keyFor(const std::string& deviceId) const {
    {
        std::lock_guard lock(mutex_);
        if (const auto it = recent_.find(deviceId); it != recent_.end()) return it->second;
    }
    auto key = digest(deviceId);
    std::lock_guard lock(mutex_);
    if (recent_.size() >= kRemembered) recent_.clear();
    recent_.emplace(deviceId, key);
    return key;
}

std::string DeviceKeys::digest(const std::string& text) const {
    crypto_auth_hmacsha256_state state = keyed_;
    unsigned char out[crypto_auth_hmacsha256_BYTES];
    crypto_auth_hmacsha256_update(&state, reinterpret_cast<const unsigned char*>(text.data()), text.size());
    crypto_auth_hmacsha256_final(&state, out);
    return hex(out, sizeof out);
}

std::string DeviceKeys::randomSecret() {
    unsigned char bytes[32];
    if (RAND_bytes(bytes, sizeof bytes) != 1) throw std::runtime_error("no randomness");
    return hex(bytes, sizeof bytes);
}

}  // namespace kelpa::server
