#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

namespace kelpa::server {

// Hashes statement texts so that caches keyed by std::string can be searched with the
// std::string_view a caller holds, without copying it.
struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};

}  // namespace kelpa::server
