#include "platform/Image.h"

namespace kelpa::platform {

namespace {
// The default avatar: a light grey head and shoulders on a blue-grey disc, drawn once.
Image drawDefaultAvatar() {
    constexpr int kSize = 128;
    Image image{kSize, kSize, std::vector<std::uint8_t>(kSize * kSize * 4, 0)};
    auto inside = [](double x, double y, double cx, double cy, double rx, double ry) {
        const double dx = (x - cx) / rx, dy = (y - cy) / ry;
        return dx * dx + dy * dy <= 1.0;
    };
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            std::uint8_t* p = &image.rgba[(static_cast<size_t>(y) * kSize + x) * 4];
            const double fx = x + 0.5, fy = y + 0.5;
            if (!inside(fx, fy, 64, 64, 64, 64)) continue;  // transparent corners
            const bool person = inside(fx, fy, 64, 50, 22, 24) || (fy > 80 && inside(fx, fy, 64, 122, 44, 42));
            const std::uint8_t shade[3] = {person ? std::uint8_t(236) : std::uint8_t(120),
                                           person ? std::uint8_t(239) : std::uint8_t(140),
                                           person ? std::uint8_t(242) : std::uint8_t(160)};
            p[0] = shade[0];
            p[1] = shade[1];
            p[2] = shade[2];
            p[3] = 255;
        }
    }
    return image;
}
}  // namespace

std::optional<Image> Resources::imageNamed(const std::string& name) {
    if (name == "Default_Avatar.png") {
        static const Image avatar = drawDefaultAvatar();
        return avatar;
    }
    return std::nullopt;
}

}  // namespace kelpa::platform
