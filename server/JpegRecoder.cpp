#include "server/JpegRecoder.h"

#include <stb_image.h>
#include <stb_image_write.h>

#include <memory>

namespace kelpa::server {

std::optional<std::string> JpegRecoder::recode(std::string_view jpeg) {
    const auto* bytes = reinterpret_cast<const stbi_uc*>(jpeg.data());
    const int size = static_cast<int>(jpeg.size());
    if (jpeg.size() < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8 || bytes[2] != 0xFF)
        return std::nullopt;
    int width = 0, height = 0, channels = 0;
    // Check the dimensions before decoding, so a tiny file cannot ask for gigabytes.
    if (!stbi_info_from_memory(bytes, size, &width, &height, &channels) || width <= 0 ||
        height <= 0 || width > kMaxSide || height > kMaxSide)
        return std::nullopt;
    std::unique_ptr<stbi_uc, void (*)(void*)> pixels(
        stbi_load_from_memory(bytes, size, &width, &height, &channels, 3), stbi_image_free);
    if (!pixels) return std::nullopt;
    std::string out;
    const auto append = [](void* context, void* data, int n) {
        static_cast<std::string*>(context)->append(static_cast<const char*>(data),
                                                   static_cast<std::size_t>(n));
    };
    if (!stbi_write_jpg_to_func(append, &out, width, height, 3, pixels.get(), 85)) return std::nullopt;
    return out;
}

}  // namespace kelpa::server
