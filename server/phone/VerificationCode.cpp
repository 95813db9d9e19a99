#include "server/phone/VerificationCode.h"

#include <sodium.h>

namespace kelpa::server {

std::optional<std::string> VerificationCode::parse(std::string_view text) {
    if (text.size() != 4) return std::nullopt;
    for (char c : text)
        if (c < '0' || c > '9') return std::nullopt;
    return std::string(text);
}

std::string VerificationCode::message(const std::string& code) {
    return "Your Kelpa verification code is " + code + ". It is valid for 15 minutes.";
}

std::string VerificationCode::hash(const DeviceKeys& keys, std::int64_t user, const std::string& number,
                                   const std::string& code) {
    // Separators no number or code contains keep the three parts apart.
    return keys.digest("phone-code\n" + std::to_string(user) + "\n" + number + "\n" + code);
}

bool VerificationCode::matches(const DeviceKeys& keys, std::int64_t user, const std::string& number,
                               const std::string& typed, const std::string& keptHash) {
    const auto typedHash = hash(keys, user, number, typed);
    return typedHash.size() == keptHash.size() &&
           sodium_memcmp(typedHash.data(), keptHash.data(), typedHash.size()) == 0;
}

}  // namespace kelpa::server
