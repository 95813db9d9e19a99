#include "client/model/KelpaDefaults.h"

#include "client/service/JSONConversion.h"
#include "platform/Environment.h"
#include "platform/Preferences.h"

namespace kelpa {

namespace {
platform::Preferences& store() { return *platform::Environment::current()->preferences; }
}  // namespace

void KelpaDefaults::saveUserID(const std::string& userID) { store().set(kUserIDKey, userID); }

std::optional<std::string> KelpaDefaults::getUserID() {
    auto value = store().value(kUserIDKey);
    if (!value || value->is_null()) return std::nullopt;
    return JSONConversion::valueText(*value);
}

void KelpaDefaults::removeUserID() { store().remove(kUserIDKey); }

}  // namespace kelpa
