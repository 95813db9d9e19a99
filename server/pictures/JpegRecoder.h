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
    // A decoded pixel costs three bytes: 12 megapixels are 36 MB.
    static constexpr long long kMaxPixels = 12'000'000;
    // Decodes at once, whatever calls them; more wait.
    static constexpr int kMaxDecodes = 2;

    struct Size {
        int width = 0;
        int height = 0;
        long long pixels() const { return static_cast<long long>(width) * height; }
    };
    // The dimensions the JPEG's header declares, read without decoding; none if it is no JPEG.
    static std::optional<Size> dimensions(std::string_view jpeg);
    // None for anything but a JPEG within the limits that decodes.
    static std::optional<std::string> recode(std::string_view jpeg);
};

}  // namespace kelpa::server
