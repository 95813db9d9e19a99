#include "KitTestEnvironment.h"

#include "platform/kits/UnconfiguredFacebookKit.h"
#include "platform/kits/UnconfiguredTwitterKit.h"

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace kelpa::platform {
namespace {

using UnconfiguredKits = KitTestEnvironment;

TEST_F(UnconfiguredKits, FacebookFailsEveryCallCleanlyOnTheMainQueue) {
    UnconfiguredFacebookKit kit;
    std::optional<std::string> loginError, graphError;
    bool loginHadResult = true, loginOnMain = false;
    nlohmann::json graphResult = "untouched";

    kit.logInWithReadPermissions({"email"}, [&](auto result, auto error) {
        loginHadResult = result.has_value();
        loginError = error;
        loginOnMain = mainQueue->isMainThread();
    });
    kit.startGraphRequest({"1234", {}}, [&](auto result, auto error) {
        graphResult = result;
        graphError = error;
    });
    // Handlers wait for the main queue, never run inside the call.
    EXPECT_FALSE(loginError);
    EXPECT_FALSE(graphError);

    mainQueue->runUntilIdle();
    EXPECT_FALSE(loginHadResult);
    EXPECT_TRUE(loginOnMain);
    EXPECT_EQ(loginError, "Facebook is not configured");
    EXPECT_EQ(graphError, "Facebook is not configured");
    EXPECT_TRUE(graphResult.is_null());
    EXPECT_EQ(kit.currentAccessToken(), std::nullopt);
    EXPECT_EQ(kit.fetchPicture("1234"), std::nullopt);
    EXPECT_TRUE(kit.didFinishLaunchingWithOptions(nlohmann::json::object()));
    EXPECT_FALSE(kit.openURL("fb123://authorize", "com.apple.mobilesafari", nullptr));
}

TEST_F(UnconfiguredKits, TwitterFailsEveryCallCleanlyOnTheMainQueue) {
    UnconfiguredTwitterKit kit;
    std::optional<std::string> loginError, userError;
    bool gotSession = true, gotUser = true;

    kit.start();
    kit.logInWithCompletion([&](auto session, auto error) {
        gotSession = session.has_value();
        loginError = error;
    });
    kit.loadUserWithID("42", [&](auto user, auto error) {
        gotUser = user.has_value();
        userError = error;
    });
    EXPECT_FALSE(loginError);
    mainQueue->runUntilIdle();

    EXPECT_FALSE(gotSession);
    EXPECT_FALSE(gotUser);
    EXPECT_EQ(loginError, "Twitter is not configured");
    EXPECT_EQ(userError, "Twitter is not configured");
    EXPECT_EQ(kit.downloadImage("https://pbs.twimg.com/profile_images/1/a.jpg"), std::nullopt);
}

TEST_F(UnconfiguredKits, AMissingHandlerIsNotCalled) {
    UnconfiguredFacebookKit facebook;
    UnconfiguredTwitterKit twitter;
    facebook.logInWithReadPermissions({"email"}, nullptr);
    facebook.startGraphRequest({"1", {}}, nullptr);
    twitter.logInWithCompletion(nullptr);
    twitter.loadUserWithID("1", nullptr);
    mainQueue->runUntilIdle();
}

TEST(FacebookPictureRequest, AsksGraphForAWidePictureOverHttps) {
    struct Case {
        std::string socialID;
        std::string url;
    };
    for (const auto& c : {
             Case{"10153219857331482", "https://graph.facebook.com/10153219857331482/picture?width=700"},
             // An identifier cannot leave its path segment or add to the query.
             Case{"../me?x=1&y", "https://graph.facebook.com/..%2Fme%3Fx%3D1%26y/picture?width=700"},
         }) {
        auto request = FacebookKit::pictureRequest(c.socialID);
        EXPECT_EQ(request.method, "GET") << c.socialID;
        EXPECT_EQ(request.url, c.url);
        EXPECT_TRUE(request.body.empty());
    }
}

// Code that reaches the kits through the environment must find them set, and a fresh
// installation must not try Facebook or Twitter with keys it does not have.
TEST(DefaultEnvironment, HoldsKitsThatAreNotConfigured) {
    auto home = std::filesystem::temp_directory_path() / "kelpa-kits-test-home";
    ::setenv("KELPA_HOME", home.c_str(), 1);
    auto env = Environment::makeDefault();
    ::unsetenv("KELPA_HOME");
    EXPECT_NE(std::dynamic_pointer_cast<UnconfiguredFacebookKit>(env->facebook), nullptr);
    EXPECT_NE(std::dynamic_pointer_cast<UnconfiguredTwitterKit>(env->twitter), nullptr);
}

}  // namespace
}  // namespace kelpa::platform
