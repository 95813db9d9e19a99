#include "server/DeviceKeys.h"

#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <openssl/rand.h>

#include <stdexcept>

#include <fmt/format.h>

namespace kelpa::server {
namespace {

std::string hex(const unsigned char* data, std::size_t size) {
    std::string out;
    out.reserve(size * 2);
    for (std::size_t i = 0; i < size; ++i) out += fmt::format("{:02x}", data[i]);
    return out;
}

}  // namespace

DeviceKeys::DeviceKeys(std::string secret) : secret_(std::move(secret)) {}

std::string DeviceKeys::keyFor(const std::string& deviceId) const {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    if (!HMAC(EVP_sha256(), secret_.data(), static_cast<int>(secret_.size()),
              reinterpret_cast<const unsigned char*>(deviceId.data()), deviceId.size(), digest, &size))
        throw std::runtime_error("HMAC failed");
    return hex(digest, size);
}

std::string DeviceKeys::randomSecret() {
    unsigned char bytes[32];
    if (RAND_bytes(bytes, sizeof bytes) != 1) throw std::runtime_error("no randomness");
    return hex(bytes, sizeof bytes);
}

}  // namespace kelpa::server
