#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kelpa::platform {

// application/x-www-form-urlencoded with RFC 3986 percent-encoding: unreserved characters
// stay, everything else (a space too) becomes %XX.
class FormEncoding {
public:
    using Fields = std::vector<std::pair<std::string, std::string>>;

    static std::string percentEncode(std::string_view text);
    // Decodes %XX and "+" (a space in form bodies); a malformed escape is kept as it stands.
    static std::string percentDecode(std::string_view text);
    static std::string encode(const Fields& fields);
    static Fields decode(std::string_view body);
};

}  // namespace kelpa::platform
