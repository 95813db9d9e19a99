#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace kelpa::server {

// One bound statement parameter; statements are always prepared, never assembled from text.
using SqlParam = std::variant<std::nullptr_t, std::int64_t, double, std::string>;

}  // namespace kelpa::server
