#include "platform/HttpClient.h"

#include <algorithm>
#include <cctype>

namespace kelpa::platform {

std::optional<std::string> HttpResponse::header(std::string_view name) const {
    auto sameName = [name](const std::string& candidate) {
        return std::equal(candidate.begin(), candidate.end(), name.begin(), name.end(), [](char a, char b) {
            return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
        });
    };
    for (const auto& [candidate, value] : headers) {
        if (sameName(candidate)) return value;
    }
    return std::nullopt;
}

}  // namespace kelpa::platform
