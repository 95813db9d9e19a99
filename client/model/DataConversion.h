#pragma once

#include <string>
#include <string_view>

namespace kelpa {

// Byte buffers as text.
class DataConversion {
public:
    // Each byte as two lower-case hexadecimal digits, no separators.
    static std::string hexadecimalString(std::string_view bytes);
};

}  // namespace kelpa
