#pragma once

#include <string_view>

namespace kelpa::platform {

// Writes one diagnostic line through the environment's log sink. Plain lines, no levels.
void log(std::string_view line);

}  // namespace kelpa::platform
