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

DeviceKeys::DeviceKeys(std::string secret) : secret_(std::move(secret)) {}

std::string DeviceKeys::keyFor(const std::string& deviceId) const {
    // libsodium's HMAC-SHA256 (standard HMAC, any key length): it runs on every request,
    // and avoids the per-call algorithm lookup of OpenSSL's one-shot HMAC.
    crypto_auth_hmacsha256_state state;
    unsigned char digest[crypto_auth_hmacsha256_BYTES];
    crypto_auth_hmacsha256_init(&state, reinterpret_cast<const unsigned char*>(secret_.data()),
                                secret_.size());
    crypto_auth_hmacsha256_update(&state, reinterpret_cast<const unsigned char*>(deviceId.data()),
                                  deviceId.size());
    crypto_auth_hmacsha256_final(&state, digest);
    return hex(digest, sizeof digest);
}

std::string DeviceKeys::randomSecret() {
    unsigned char bytes[32];
    if (RAND_bytes(bytes, sizeof bytes) != 1) throw std::runtime_error("no randomness");
    return hex(bytes, sizeof bytes);
}

}  // namespace kelpa::server
