#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kelpa::server {

// Phone numbers as the client writes them: an international prefix, digits, and the
// separators people type. Compared exactly as sent, after trimming.
class PhoneNumber {
public:
    static constexpr std::size_t kMaxLength = 32;
    static std::optional<std::string> parse(std::string_view text);
};

}  // namespace kelpa::server
