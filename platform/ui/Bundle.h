#pragma once

#include <string>

namespace kelpa::platform::ui {

// The application's own resources: its string table.
class Bundle {
public:
    // The display text for a key, or the key itself when the table has none.
    static std::string localizedString(const std::string& key);
};

}  // namespace kelpa::platform::ui
