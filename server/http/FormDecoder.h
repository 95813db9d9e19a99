#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace kelpa::server {

// Decodes request bodies into named fields. Anything ambiguous (a bad escape, a repeated
// field, a part without a name) makes the whole body malformed.
class FormDecoder {
public:
    struct Form {
        std::map<std::string, std::string> fields;
        std::map<std::string, std::string> files;  // multipart parts that carry a filename
    };

    static std::optional<std::string> percentDecode(std::string_view text);
    static std::optional<Form> urlEncoded(std::string_view body);
    static std::optional<Form> multipart(std::string_view contentType, std::string_view body);
};

}  // namespace kelpa::server
