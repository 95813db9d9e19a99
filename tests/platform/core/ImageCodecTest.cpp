#include "platform/Image.h"

#include <gtest/gtest.h>

using kelpa::platform::Image;
using kelpa::platform::ImageCodec;
using kelpa::platform::Resources;

namespace {
Image gradient(int w, int h) {
    Image image{w, h, std::vector<std::uint8_t>(static_cast<size_t>(w) * h * 4)};
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            auto* p = &image.rgba[(static_cast<size_t>(y) * w + x) * 4];
            p[0] = static_cast<std::uint8_t>(x * 4);
            p[1] = static_cast<std::uint8_t>(y * 4);
            p[2] = static_cast<std::uint8_t>((x * y) & 0xFF);
            p[3] = 255;
        }
    }
    return image;
}
}  // namespace

TEST(ImageCodec, JpegRoundTripKeepsTheSizeAndQualityControlsTheBytes) {
    const Image image = gradient(64, 48);
    auto strongest = ImageCodec::encodeJPEG(image, 0.0);
    auto best = ImageCodec::encodeJPEG(image, 1.0);
    ASSERT_TRUE(strongest && best);
    EXPECT_EQ(strongest->substr(0, 2), "\xFF\xD8");
    EXPECT_LT(strongest->size(), best->size());
    auto decoded = ImageCodec::decode(*best);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->width, 64);
    EXPECT_EQ(decoded->height, 48);
}

TEST(ImageCodec, PngRoundTripIsExact) {
    const Image image = gradient(10, 7);
    auto png = ImageCodec::encodePNG(image);
    ASSERT_TRUE(png);
    EXPECT_EQ(ImageCodec::decode(*png), image);
}

TEST(ImageCodec, NothingForWhatCannotBeEncodedOrDecoded) {
    EXPECT_FALSE(ImageCodec::encodeJPEG(Image{}, 0.8));
    EXPECT_FALSE(ImageCodec::encodeJPEG(Image{4, 4, {1, 2, 3}}, 0.8));  // pixels missing
    EXPECT_FALSE(ImageCodec::decode(""));
    EXPECT_FALSE(ImageCodec::decode("not a picture at all"));
    EXPECT_FALSE(ImageCodec::decode("\xFF\xD8\xFF\xE0 truncated"));
}

TEST(Resources, TheDefaultAvatarIsBundled) {
    auto avatar = Resources::imageNamed("Default_Avatar.png");
    ASSERT_TRUE(avatar);
    EXPECT_FALSE(avatar->empty());
    EXPECT_FALSE(Resources::imageNamed("Missing.png"));
}
