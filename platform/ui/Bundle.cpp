#include "platform/ui/Bundle.h"

#include "platform/Environment.h"

namespace kelpa::platform::ui {

std::string Bundle::localizedString(const std::string& key) {
    const auto& strings = Environment::current()->strings;
    auto it = strings.find(key);
    return it == strings.end() ? key : it->second;
}

}  // namespace kelpa::platform::ui
