// Profile pictures: upload, conditional download, size and format checks, delete.
#include <gmock/gmock.h>

#include "tests/server/TestJpeg.h"
#include "tests/server/TripFixture.h"

namespace kelpa::server::testing {
namespace {

using nlohmann::json;

class ProfileTest : public ServerFixture {};

TEST_P(ProfileTest, UploadServeAndDelete) {
    Installation ann = install(), ben = install();
    ann.registerEmail("ann@example.org", "Ann");
    ben.registerEmail("ben@example.org", "Ben");
    const std::string path = "/Profiles/" + ann.userId();

    const auto none = ben.http().get(path);
    EXPECT_EQ(none.status, 404);
    EXPECT_EQ(none.body, "");

    EXPECT_EQ(ann.uploadPicture(testJpeg()), (json{{"code", 0}}));
    const auto picture = ben.http().get(path);
    EXPECT_EQ(picture.status, 200);
    EXPECT_EQ(picture.headers.at("Content-Type"), "image/jpeg");
    EXPECT_GE(picture.body.size(), 300u);
    EXPECT_EQ(picture.body.substr(0, 3), "\xff\xd8\xff");
    const std::string etag = picture.headers.at("ETag");

    const auto unchanged = ben.http().get(path, {{"If-None-Match", etag}});
    EXPECT_EQ(unchanged.status, 304);
    EXPECT_EQ(unchanged.body, "");
    EXPECT_EQ(ben.http().get(path, {{"If-None-Match", "\"other\""}}).status, 200);

    // A new picture gets a new tag.
    EXPECT_EQ(ann.uploadPicture(testJpeg(80, 60)), (json{{"code", 0}}));
    EXPECT_NE(ben.http().get(path).headers.at("ETag"), etag);

    std::string huge = testJpeg();
    huge.resize(5 * 1024 * 1024 + 1, '\0');
    EXPECT_EQ(ann.uploadPicture(huge), (json{{"code", 1}, {"info", "The picture is larger than 5 MB"}}));

    EXPECT_EQ(ann.call(109), (json{{"code", 0}}));
    EXPECT_EQ(ben.http().get(path).status, 404);
    EXPECT_EQ(ben.http().get("/Profiles/abc").status, 404);
}

// The JPEG's frame header with other dimensions: a small file that declares a huge picture.
std::string declaring(int width, int height) {
    std::string jpeg = testJpeg();
    for (std::size_t at = 2; at + 9 < jpeg.size();) {
        const auto marker = static_cast<unsigned char>(jpeg[at + 1]);
        if (marker == 0xC0 || marker == 0xC2) {
            jpeg[at + 5] = static_cast<char>(height >> 8), jpeg[at + 6] = static_cast<char>(height & 0xFF);
            jpeg[at + 7] = static_cast<char>(width >> 8), jpeg[at + 8] = static_cast<char>(width & 0xFF);
            return jpeg;
        }
        at += 2 + (static_cast<unsigned char>(jpeg[at + 2]) << 8 | static_cast<unsigned char>(jpeg[at + 3]));
    }
    ADD_FAILURE() << "no frame header";
    return jpeg;
}

TEST_P(ProfileTest, PicturesDeclaringTooManyPixelsAreRefusedBeforeDecoding) {
    Installation ann = install();
    ann.registerEmail("ann@example.org", "Ann");
    const json tooLarge = {{"code", 1}, {"info", "The picture has more than 12 megapixels"}};
    for (const auto& [width, height] : {std::pair{8000, 8000}, {4000, 3001}, {9000, 100}}) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        const auto picture = declaring(width, height);
        ASSERT_LT(picture.size(), 2048u);
        EXPECT_EQ(ann.uploadPicture(picture), tooLarge);
    }
    EXPECT_EQ(ann.http().get("/Profiles/" + ann.userId()).status, 404);
    EXPECT_EQ(ann.uploadPicture(testJpeg()), (json{{"code", 0}}));
}

INSTANTIATE_TEST_SUITE_P(Server, ProfileTest, ::testing::Values("sqlite"), engineName);

}  // namespace
}  // namespace kelpa::server::testing
