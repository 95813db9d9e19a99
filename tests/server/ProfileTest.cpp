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

INSTANTIATE_TEST_SUITE_P(Server, ProfileTest, ::testing::Values("sqlite"), engineName);

}  // namespace
}  // namespace kelpa::server::testing
