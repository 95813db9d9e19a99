// Profile images: the 300-byte rule, the cached and reloading fetches with their social
// fallbacks, the social import, upload, delete and the local copy.
#include "ModelFixture.h"

#include "client/service/API.h"
#include "platform/Image.h"
#include "platform/kits/FakeFacebookKit.h"
#include "platform/kits/FakeTwitterKit.h"

#include <filesystem>
#include <fstream>

using namespace kelpa;
using namespace kelpa::testing;

namespace {

platform::Image picture(std::uint8_t shade, int size = 2) {
    return {size, size, std::vector<std::uint8_t>(static_cast<size_t>(size * size * 4), shade)};
}

// A PNG of the given shade padded with trailing bytes to exactly `bytes`; decoders stop at
// the image's end, so only the length differs.
std::string pngOfLength(std::uint8_t shade, size_t bytes) {
    auto png = *platform::ImageCodec::encodePNG(picture(shade));
    EXPECT_LE(png.size(), bytes);
    png.resize(bytes, '\0');
    return png;
}

struct Images : SignedIn {
    std::shared_ptr<platform::FakeFacebookKit> facebook = std::make_shared<platform::FakeFacebookKit>();
    std::shared_ptr<platform::FakeTwitterKit> twitter = std::make_shared<platform::FakeTwitterKit>();
    ImagePtr defaultImage = User::getDefaultProfileImage();

    Images() {
        t.env().facebook = facebook;
        t.env().twitter = twitter;
    }

    // Answers GET /Profiles/<id> with this response; form requests get {"code": 0}.
    void serveImage(std::optional<platform::HttpResponse> response) {
        t.http().setResponder([response](const platform::HttpRequest& request) -> std::optional<platform::HttpResponse> {
            if (request.method == "GET") return response;
            return FakeHttpClient::json({{"code", 0}});
        });
    }
    std::vector<platform::HttpRequest> gets() {
        std::vector<platform::HttpRequest> result;
        for (auto& r : t.http().requests()) {
            if (r.method == "GET") result.push_back(r);
        }
        return result;
    }
    size_t uploads() {
        size_t n = 0;
        for (auto& r : t.http().requests()) n += r.body.find("name=\"image\"") != std::string::npos;
        return n;
    }
};

struct Deliveries {
    std::vector<std::pair<ImagePtr, Info>> calls;
    ImageErrorHandler handler() {
        return [this](ImagePtr image, Info error) { calls.emplace_back(std::move(image), std::move(error)); };
    }
};

TEST(ServiceImage, ThreeHundredBytesIsAnImageAndFewerIsNone) {
    struct Case {
        const char* name;
        std::optional<platform::HttpResponse> response;
        bool decoded;
    };
    const Case cases[] = {
        {"300 bytes", platform::HttpResponse{200, pngOfLength(90, 300)}, true},
        {"299 bytes", platform::HttpResponse{200, pngOfLength(90, 299)}, false},
        {"no answer", std::nullopt, false},
        {"not found", platform::HttpResponse{404, pngOfLength(90, 400)}, false},
        {"not a picture", platform::HttpResponse{200, std::string(400, 'x')}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Images w;
        w.serveImage(c.response);
        auto held = std::make_shared<const platform::Image>(picture(7));
        w.me->profileImage = held;
        std::vector<ImagePtr> got;
        w.me->getProfileImageFromAPIWithCompletitionHandler([&](ImagePtr image) { got.push_back(image); });
        w.t.settle();
        ASSERT_EQ(got.size(), 1u);
        ASSERT_TRUE(got[0]);
        if (c.decoded) {
            EXPECT_EQ(*got[0], picture(90));
            EXPECT_EQ(w.me->profileImage, got[0]);
        } else {
            EXPECT_EQ(*got[0], *w.defaultImage);
            EXPECT_EQ(w.me->profileImage, held);
        }
        ASSERT_EQ(w.gets().size(), 1u);
        EXPECT_EQ(w.gets()[0].url, API::serviceBaseURL() + "/Profiles/5");
    }
}

// A picture fetched once is asked for again with its ETag; "not modified" delivers the kept
// copy, a new ETag replaces it, and a picture that is gone is forgotten.
TEST(ServiceImage, RevalidatesWithTheETagOfTheKeptCopy) {
    Images w;
    int served = 0;
    struct Answer {
        long status;
        std::uint8_t shade;
        const char* etag;
    };
    // Status 0: the exchange fails, which keeps the copy.
    const Answer answers[] = {{200, 40, "\"a\""}, {304, 0, "\"a\""}, {0, 0, nullptr},      {200, 50, "\"b\""},
                              {404, 0, nullptr},    {200, 60, "\"c\""}};
    w.t.http().setResponder([&](const platform::HttpRequest&) -> std::optional<platform::HttpResponse> {
        const auto& a = answers[served++];
        if (a.status == 0) return std::nullopt;
        platform::HttpResponse response{a.status, a.status == 200 ? pngOfLength(a.shade, 400) : ""};
        if (a.etag) response.headers.emplace_back("etag", a.etag);
        return response;
    });
    std::vector<ImagePtr> got;
    for (size_t i = 0; i < std::size(answers); ++i) {
        w.me->getProfileImageFromAPIWithCompletitionHandler([&](ImagePtr image) { got.push_back(image); });
        w.t.settle();
    }
    const auto gets = w.gets();
    auto sentTag = [&](size_t i) -> std::optional<std::string> {
        for (const auto& [name, value] : gets.at(i).headers) {
            if (name == "If-None-Match") return value;
        }
        return std::nullopt;
    };
    EXPECT_EQ(sentTag(0), std::nullopt);
    EXPECT_EQ(sentTag(1), "\"a\"");
    EXPECT_EQ(sentTag(2), "\"a\"");
    EXPECT_EQ(sentTag(3), "\"a\"");
    EXPECT_EQ(sentTag(4), "\"b\"");
    EXPECT_EQ(sentTag(5), std::nullopt);  // forgotten when the service had none
    ASSERT_EQ(got.size(), 6u);
    EXPECT_EQ(*got[0], picture(40));
    EXPECT_EQ(got[1], got[0]);  // the kept copy itself, not decoded again
    EXPECT_EQ(*got[2], *w.defaultImage);
    EXPECT_EQ(*got[3], picture(50));
    EXPECT_EQ(*got[4], *w.defaultImage);
    EXPECT_EQ(*got[5], picture(60));
}

// The reloading fetch revalidates the same way: the kept copy is the service's picture.
TEST(ServiceImage, TheReloadingFetchAlsoTakesTheKeptCopyWhenUnchanged) {
    Images w;
    bool first = true;
    w.t.http().setResponder([&](const platform::HttpRequest& request) -> std::optional<platform::HttpResponse> {
        if (request.method != "GET") return FakeHttpClient::json({{"code", 0}});
        platform::HttpResponse response{first ? 200L : 304L, first ? pngOfLength(70, 400) : ""};
        response.headers.emplace_back("ETag", "\"k\"");
        first = false;
        return response;
    });
    Deliveries calls;
    w.me->getProfileImageWithCompletitionHandler(calls.handler(), true);
    w.t.settle();
    w.me->getProfileImageWithCompletitionHandler(calls.handler(), true);
    w.t.settle();
    ASSERT_EQ(calls.calls.size(), 2u);
    EXPECT_EQ(*calls.calls[1].first, picture(70));
    EXPECT_EQ(w.uploads(), 0u);  // an unchanged service picture is not a social import
}

TEST(CachedImage, WithoutReloadingTheHeldImageThenTheLocalCopyThenTheDefault) {
    Images w;
    Deliveries held;
    auto image = std::make_shared<const platform::Image>(picture(30));
    w.me->profileImage = image;
    w.me->getProfileImageWithCompletitionHandler(held.handler());
    ASSERT_EQ(held.calls.size(), 1u);  // at once
    EXPECT_EQ(held.calls[0].first, image);

    ASSERT_TRUE(w.me->saveImageLocal());
    EXPECT_TRUE(std::filesystem::exists(w.t.env().documentsDirectory / "5.jpg"));
    auto again = User::initWithJSON(userJSON("5"));
    Deliveries local;
    again->getProfileImageWithCompletitionHandler(local.handler());
    ASSERT_EQ(local.calls.size(), 1u);
    ASSERT_TRUE(local.calls[0].first);
    EXPECT_EQ(local.calls[0].first->width, 2);  // a lossy copy of the same picture
    EXPECT_EQ(again->profileImage, local.calls[0].first);

    Deliveries none;
    auto stranger = User::initWithJSON(userJSON("77"));
    stranger->getProfileImageWithCompletitionHandler(none.handler());
    ASSERT_EQ(none.calls.size(), 1u);
    EXPECT_EQ(*none.calls[0].first, *w.defaultImage);
    EXPECT_FALSE(none.calls[0].second);
    EXPECT_FALSE(stranger->profileImage);
    w.t.settle();
    EXPECT_EQ(w.t.http().count(), 0u);
}

TEST(ReloadingImage, FallsBackBySocialTypeWithExactlyOneDeliveryAtMost) {
    enum class Expect { service, social, defaultImage, nothing };
    struct Case {
        const char* name;
        std::int32_t socialType;
        bool serviceHasImage;
        bool socialHasImage;
        bool alreadyHeld;
        Expect expect;
    };
    const Case cases[] = {
        {"service image wins", 0, true, true, false, Expect::service},
        {"facebook picture", 0, false, true, false, Expect::social},
        {"facebook picture replaces a held one", 0, false, true, true, Expect::social},
        {"no facebook picture", 0, false, false, false, Expect::defaultImage},
        {"no facebook picture, one held", 0, false, false, true, Expect::nothing},
        {"twitter picture", 1, false, true, false, Expect::social},
        {"no twitter picture", 1, false, false, false, Expect::defaultImage},
        {"no twitter picture, one held", 1, false, false, true, Expect::nothing},
        {"e-mail account", -1, false, false, true, Expect::defaultImage},
        {"unknown account type", 7, false, false, false, Expect::defaultImage},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Images w;
        w.me->registrationFromSocial = c.socialType >= 0;
        w.me->socialType = c.socialType;
        w.me->socialID = "S1";
        w.serveImage(c.serviceHasImage ? std::optional(platform::HttpResponse{200, pngOfLength(10, 400)})
                                       : std::optional(platform::HttpResponse{404, ""}));
        if (c.socialHasImage) {
            w.facebook->setPicture("S1", pngOfLength(20, 100));
            w.twitter->addUser({"S1", "Ann", "https://pbs.example/ann_large.png"});
            w.twitter->setImage("https://pbs.example/ann_large.png", pngOfLength(20, 100));
        }
        auto held = std::make_shared<const platform::Image>(picture(7));
        if (c.alreadyHeld) w.me->profileImage = held;
        Deliveries got;
        w.me->getProfileImageWithCompletitionHandler(got.handler(), true);
        EXPECT_TRUE(got.calls.empty());
        w.t.settle();

        const auto before = c.alreadyHeld ? held : nullptr;
        switch (c.expect) {
            case Expect::service:
                ASSERT_EQ(got.calls.size(), 1u);
                EXPECT_EQ(*got.calls[0].first, picture(10));
                EXPECT_EQ(w.me->profileImage, got.calls[0].first);
                EXPECT_TRUE(w.facebook->calls().empty());
                break;
            case Expect::social:
                ASSERT_EQ(got.calls.size(), 1u);
                EXPECT_EQ(*got.calls[0].first, picture(20));
                EXPECT_EQ(w.me->profileImage, got.calls[0].first);
                EXPECT_EQ(w.uploads(), 1u);
                EXPECT_TRUE(w.t.logged("Profile Image successfully Uploaded"));
                break;
            case Expect::defaultImage:
                ASSERT_EQ(got.calls.size(), 1u);
                EXPECT_EQ(*got.calls[0].first, *w.defaultImage);
                EXPECT_EQ(w.me->profileImage, before);
                EXPECT_EQ(w.uploads(), 0u);
                break;
            case Expect::nothing:
                EXPECT_TRUE(got.calls.empty());
                EXPECT_EQ(w.me->profileImage, held);
                break;
        }
        for (const auto& call : got.calls) EXPECT_FALSE(call.second);
        EXPECT_EQ(w.gets().size(), 1u);
        if (c.expect != Expect::service && c.socialType == 0) {
            EXPECT_EQ(w.facebook->calls(), std::vector<std::string>{"fetchPicture S1"});
        }
    }
}

TEST(ReloadingImage, AFailedUploadOfTheSocialPictureIsLogged) {
    Images w;
    w.me->registrationFromSocial = true;
    w.me->socialType = 0;
    w.me->socialID = "S1";
    w.facebook->setPicture("S1", pngOfLength(20, 100));
    w.t.http().setResponder([](const platform::HttpRequest& request) -> std::optional<platform::HttpResponse> {
        if (request.method == "GET") return platform::HttpResponse{404, ""};
        return FakeHttpClient::json({{"code", 1}, {"info", "too large"}});
    });
    Deliveries got;
    w.me->getProfileImageWithCompletitionHandler(got.handler(), true);
    w.t.settle();
    EXPECT_EQ(got.calls.size(), 1u);
    EXPECT_TRUE(w.t.logged("Profile Image Upload failed with: too large"));
    EXPECT_EQ(*w.me->profileImage, picture(20));  // held even though the service refused it
}

TEST(SocialImport, DeliversThePictureOrTheDefaultWithTheNetworksErrorText) {
    struct Case {
        const char* name;
        bool fromSocial;
        std::int32_t socialType;
        bool hasPicture;
        int calls;
        Info error;
    };
    const Case cases[] = {
        {"facebook", true, 0, true, 1, std::nullopt},
        {"facebook without a picture", true, 0, false, 1, "no image found on facebook"},
        {"twitter", true, 1, true, 1, std::nullopt},
        {"twitter without a picture", true, 1, false, 1, "no image found on twitter"},
        {"e-mail account", false, -1, true, 0, std::nullopt},
        {"social but unknown network", true, 4, true, 0, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Images w;
        w.me->registrationFromSocial = c.fromSocial;
        w.me->socialType = c.socialType;
        w.me->socialID = "S1";
        if (c.hasPicture) {
            // Short bodies count here: the 300-byte rule is the service's.
            w.facebook->setPicture("S1", pngOfLength(20, 90));
            w.twitter->addUser({"S1", "Ann", "https://pbs.example/big.png"});
            w.twitter->setImage("https://pbs.example/big.png", pngOfLength(20, 90));
        }
        Deliveries got;
        w.me->getProfileImageFromSocialNetworkWithCompletitionHandler(got.handler());
        w.t.settle();
        ASSERT_EQ(got.calls.size(), size_t(c.calls));
        if (c.calls) {
            EXPECT_EQ(got.calls[0].second, c.error);
            EXPECT_EQ(*got.calls[0].first, c.error ? *w.defaultImage : picture(20));
        }
        EXPECT_FALSE(w.me->profileImage);  // the caller uploads; only that sets it
        EXPECT_EQ(w.t.http().count(), 0u);
    }
}

TEST(Upload, SetsTheImageOnlyOnSuccess) {
    struct Case {
        std::optional<json> reply;
        StatusCalls::Call outcome;
        bool set;
    };
    const Case cases[] = {
        {json{{"code", 0}}, {0, std::nullopt, true}, true},
        {json{{"code", 1}, {"info", "too large"}}, {1, "too large", true}, false},
        {std::nullopt, {1, "Unknown Error", true}, false},
    };
    for (const auto& c : cases) {
        Images w;
        auto other = User::initWithJSON(userJSON("9"));  // uploads carry the record's own identifier
        if (c.reply) w.t.http().queueJSON(*c.reply);
        auto image = std::make_shared<const platform::Image>(picture(50));
        StatusCalls calls;
        other->setProfileImage(image, calls.handler(w.t));
        w.t.settle();
        EXPECT_EQ(calls.calls, std::vector<StatusCalls::Call>{c.outcome});
        EXPECT_EQ(other->profileImage, c.set ? image : nullptr);
        ASSERT_EQ(w.t.http().requests().size(), 1u);
        const std::string body = w.t.http().requests()[0].body;
        EXPECT_NE(body.find("name=\"action\"\r\n\r\n108\r\n"), std::string::npos);
        EXPECT_NE(body.find("name=\"userID\"\r\n\r\n9\r\n"), std::string::npos);
        EXPECT_NE(body.find("name=\"image\""), std::string::npos);
        EXPECT_FALSE(std::filesystem::exists(w.t.env().documentsDirectory / "9.jpg"));
    }
}

TEST(LocalCopy, IsWrittenAtomicallyAndDeletedOnce) {
    Images w;
    EXPECT_FALSE(w.me->saveImageLocal());  // nothing to write
    w.me->profileImage = std::make_shared<const platform::Image>(picture(200, 16));
    ASSERT_TRUE(w.me->saveImageLocal());
    const auto path = w.t.env().documentsDirectory / "5.jpg";
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xD8");  // a JPEG
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(w.t.env().documentsDirectory),
                            std::filesystem::directory_iterator()),
              1);  // no temporary file left behind
    auto local = w.me->getImageLocal();
    ASSERT_TRUE(local);
    EXPECT_EQ(local->width, 16);
    EXPECT_TRUE(w.me->deleteImageLocal());
    EXPECT_FALSE(w.me->deleteImageLocal());
    EXPECT_FALSE(w.me->getImageLocal());
}

// A fresh installation has no documents directory until the first picture is kept.
TEST(LocalCopy, AFreshInstallationMakesItsDocumentsDirectory) {
    Images w;
    std::filesystem::remove_all(w.t.env().documentsDirectory);
    w.me->profileImage = std::make_shared<const platform::Image>(picture(90, 8));
    ASSERT_TRUE(w.me->saveImageLocal());
    EXPECT_TRUE(std::filesystem::exists(w.t.env().documentsDirectory / "5.jpg"));
}

}  // namespace
