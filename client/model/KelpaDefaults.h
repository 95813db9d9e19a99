#pragma once

#include <optional>
#include <string>

namespace kelpa {

// The signed-in user's identifier, the one piece of the session that survives a restart.
class KelpaDefaults {
public:
    static constexpr const char* kUserIDKey = "kUserID";

    static void saveUserID(const std::string& userID);
    static std::optional<std::string> getUserID();
    static void removeUserID();
};

}  // namespace kelpa
