#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "server/security/DeviceKeys.h"

namespace kelpa::server {

// The four-digit code that proves a phone number: the client makes it, the service texts it
// in a message of its own wording and keeps only a keyed hash of it, bound to the user and
// the number it was sent to.
class VerificationCode {
public:
    // The code's digits, or none for anything but exactly four ASCII digits.
    static std::optional<std::string> parse(std::string_view text);
    // The whole text message carrying the code.
    static std::string message(const std::string& code);
    // What the store keeps for a code texted to `number` for `user`.
    static std::string hash(const DeviceKeys& keys, std::int64_t user, const std::string& number,
                            const std::string& code);
    // Whether the typed code is the one whose hash was kept (compared in constant time).
    static bool matches(const DeviceKeys& keys, std::int64_t user, const std::string& number,
                        const std::string& typed, const std::string& keptHash);
    // Tries a client gets per code texted; the code is forgotten on success.
    static constexpr std::int64_t kMaxTries = 3;
};

}  // namespace kelpa::server
