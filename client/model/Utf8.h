#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kelpa {

// Walks UTF-8 text by code point; malformed bytes come out one at a time as U+FFFD.
class Utf8 {
public:
    struct CodePoint {
        char32_t value;
        std::string_view bytes;
    };
    static CodePoint next(std::string_view text, size_t& offset);
};

}  // namespace kelpa
