#pragma once

#include "platform/Preferences.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kelpa::platform {

// The installation's push token: random bytes made once and kept in the preferences as
// lower-case hex text. The service knows the device by it once the app has registered it.
class PushToken {
public:
    static constexpr const char* kPreferencesKey = "kPushToken";
    static constexpr std::size_t kLength = 32;

    // The stored token as raw bytes; a new one when none (or a damaged one) is stored. None
    // when no random bytes could be had.
    static std::optional<std::string> installationToken(Preferences& preferences);

    static std::string hex(std::string_view bytes);
    static std::optional<std::string> fromHex(std::string_view text);
};

}  // namespace kelpa::platform
