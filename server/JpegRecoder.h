#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kelpa::server {

// Accepts only a JPEG that really decodes, and stores a fresh encoding of its pixels, so
// that what the service hands out is never the uploader's bytes (no metadata, no payloads).
class JpegRecoder {
public:
    static constexpr int kMaxSide = 8000;
    static std::optional<std::string> recode(std::string_view jpeg);
};

}  // namespace kelpa::server
