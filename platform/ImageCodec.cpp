#include "platform/Image.h"

#include <stb_image.h>
#include <stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace kelpa::platform {

namespace {
void appendTo(void* context, void* data, int size) {
    static_cast<std::string*>(context)->append(static_cast<const char*>(data), static_cast<size_t>(size));
}

bool valid(const Image& image) {
    return !image.empty() &&
           image.rgba.size() == static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * 4;
}
}  // namespace

std::optional<std::string> ImageCodec::encodeJPEG(const Image& image, double quality) {
    if (!valid(image)) return std::nullopt;
    // stb takes 1..100; 0.0 maps to its strongest compression.
    const int q = std::clamp(static_cast<int>(std::lround(quality * 100.0)), 1, 100);
    std::string out;
    if (!stbi_write_jpg_to_func(appendTo, &out, image.width, image.height, 4, image.rgba.data(), q)) {
        return std::nullopt;
    }
    return out;
}

std::optional<std::string> ImageCodec::encodePNG(const Image& image) {
    if (!valid(image)) return std::nullopt;
    std::string out;
    if (!stbi_write_png_to_func(appendTo, &out, image.width, image.height, 4, image.rgba.data(),
                                image.width * 4)) {
        return std::nullopt;
    }
    return out;
}

std::optional<Image> ImageCodec::decode(const std::string& bytes) {
    if (bytes.empty() || bytes.size() > static_cast<size_t>(INT32_MAX)) return std::nullopt;
    int width = 0, height = 0, channels = 0;
    std::unique_ptr<stbi_uc, void (*)(void*)> pixels(
        stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()), static_cast<int>(bytes.size()),
                              &width, &height, &channels, 4),
        stbi_image_free);
    if (!pixels) return std::nullopt;
    Image image{width, height, {}};
    image.rgba.assign(pixels.get(), pixels.get() + static_cast<size_t>(width) * height * 4);
    return image;
}

}  // namespace kelpa::platform
