#include "tests/server/TestJpeg.h"

#include <stb_image_write.h>

#include <vector>

namespace kelpa::server::testing {

std::string testJpeg(int width, int height) {
    std::vector<unsigned char> pixels(static_cast<std::size_t>(width * height * 3));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            auto* p = &pixels[static_cast<std::size_t>((y * width + x) * 3)];
            p[0] = static_cast<unsigned char>(x * 4);
            p[1] = static_cast<unsigned char>(y * 5);
            p[2] = static_cast<unsigned char>((x * y) % 256);
        }
    std::string out;
    stbi_write_jpg_to_func(
        [](void* context, void* data, int n) {
            static_cast<std::string*>(context)->append(static_cast<const char*>(data), static_cast<std::size_t>(n));
        },
        &out, width, height, 3, pixels.data(), 90);
    return out;
}

}  // namespace kelpa::server::testing
