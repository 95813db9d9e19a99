#include "server/pictures/JpegRecoder.h"

#include <stb_image.h>
#include <stb_image_write.h>

#include <memory>
#include <semaphore>

namespace kelpa::server {
namespace {

std::counting_semaphore<JpegRecoder::kMaxDecodes> decodes(JpegRecoder::kMaxDecodes);

}  // namespace

std::optional<JpegRecoder::Size> JpegRecoder::dimensions(std::string_view jpeg) {
    const auto* bytes = reinterpret_cast<const stbi_uc*>(jpeg.data());
    if (jpeg.size() < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8 || bytes[2] != 0xFF) return std::nullopt;
    Size size;
    int channels = 0;
    if (!stbi_info_from_memory(bytes, static_cast<int>(jpeg.size()), &size.width, &size.height, &channels) ||
        size.width <= 0 || size.height <= 0)
        return std::nullopt;
    return size;
}

std::optional<std::string> JpegRecoder::recode(std::string_view jpeg) {
    // Check the dimensions before decoding, so a tiny file cannot ask for hundreds of megabytes.
    const auto size = dimensions(jpeg);
    if (!size || size->width > kMaxSide || size->height > kMaxSide || size->pixels() > kMaxPixels)
        return std::nullopt;
    decodes.acquire();
    struct Release {
        ~Release() { decodes.release(); }
    } release;
    const auto* bytes = reinterpret_cast<const stbi_uc*>(jpeg.data());
    int width = 0, height = 0, channels = 0;
    std::unique_ptr<stbi_uc, void (*)(void*)> pixels(
        stbi_load_from_memory(bytes, static_cast<int>(jpeg.size()), &width, &height, &channels, 3), stbi_image_free);
    if (!pixels) return std::nullopt;
    std::string out;
    const auto append = [](void* context, void* data, int n) {
        static_cast<std::string*>(context)->append(static_cast<const char*>(data), static_cast<std::size_t>(n));
    };
    if (!stbi_write_jpg_to_func(append, &out, width, height, 3, pixels.get(), 85)) return std::nullopt;
    return out;
}

}  // namespace kelpa::server
