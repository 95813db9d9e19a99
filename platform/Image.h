#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kelpa::platform {

// A decoded picture: 8-bit RGBA pixels, row by row.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;

    bool empty() const { return width <= 0 || height <= 0; }
    bool operator==(const Image&) const = default;
};

// JPEG encoding with a compression quality, and JPEG/PNG decoding.
class ImageCodec {
public:
    // quality 0.0 is the strongest compression, 1.0 the best picture; nothing when the image
    // cannot be encoded (an empty image).
    static std::optional<std::string> encodeJPEG(const Image& image, double quality);
    static std::optional<std::string> encodePNG(const Image& image);
    static std::optional<Image> decode(const std::string& bytes);
};

// The application's bundled pictures, by name ("Default_Avatar.png").
class Resources {
public:
    static std::optional<Image> imageNamed(const std::string& name);
};

}  // namespace kelpa::platform
