#include "KitTestEnvironment.h"

#include "platform/DispatchQueue.h"
#include "platform/kits/FakeFacebookKit.h"

#include <atomic>
#include <optional>
#include <string>
#include <vector>

namespace kelpa::platform {
namespace {

using Strings = std::vector<std::string>;

class FakeFacebook : public KitTestEnvironment {
protected:
    void SetUp() override {
        KitTestEnvironment::SetUp();
        kit = std::make_shared<FakeFacebookKit>();
        env->facebook = kit;
    }

    struct Login {
        bool called = false;
        std::optional<FacebookLoginResult> result;
        std::optional<std::string> error;
    };
    Login logIn(std::vector<std::string> permissions = {"email"}) {
        Login login;
        env->facebook->logInWithReadPermissions(std::move(permissions), [&](auto result, auto error) {
            login = Login{true, result, error};
        });
        EXPECT_FALSE(login.called) << "delivered inside the call instead of on the main queue";
        mainQueue->runUntilIdle();
        return login;
    }

    std::shared_ptr<FakeFacebookKit> kit;
};

TEST_F(FakeFacebook, UnscriptedLoginIsCancelledAndLeavesNoToken) {
    auto login = logIn();
    ASSERT_TRUE(login.called);
    ASSERT_TRUE(login.result);
    EXPECT_TRUE(login.result->isCancelled);
    EXPECT_FALSE(login.error);
    EXPECT_EQ(kit->currentAccessToken(), std::nullopt);
}

TEST_F(FakeFacebook, SuccessfulLoginGrantsWhatWasAskedAndBecomesCurrent) {
    kit->setLoginSucceeds("1234");
    auto login = logIn({"email", "public_profile"});
    ASSERT_TRUE(login.result);
    EXPECT_FALSE(login.result->isCancelled);
    EXPECT_EQ(login.result->grantedPermissions, (std::set<std::string>{"email", "public_profile"}));
    EXPECT_EQ(kit->currentAccessToken(), (FacebookAccessToken{"1234", "token-of-1234"}));

    kit->logOut();
    EXPECT_EQ(kit->currentAccessToken(), std::nullopt);
}

TEST_F(FakeFacebook, FailedOrCancelledLoginsKeepTheFormerToken) {
    struct Case {
        const char* name;
        std::optional<FacebookLoginResult> result;
        std::optional<std::string> error;
    };
    for (const auto& c : {
             Case{"error", std::nullopt, "The operation couldn't be completed"},
             Case{"cancelled", FacebookLoginResult{true, {}, FacebookAccessToken{"new", "token-new"}}, std::nullopt},
         }) {
        kit->setCurrentAccessToken(FacebookAccessToken{"old", "token-old"});
        kit->setLoginAnswer(c.result, c.error);
        auto login = logIn();
        EXPECT_EQ(login.result, c.result) << c.name;
        EXPECT_EQ(login.error, c.error) << c.name;
        EXPECT_EQ(kit->currentAccessToken(), (FacebookAccessToken{"old", "token-old"})) << c.name;
    }
}

TEST_F(FakeFacebook, LoginWithoutEmailPermissionIsReportedAsScripted) {
    kit->setLoginAnswer(FacebookLoginResult{false, {"public_profile"}, FacebookAccessToken{"1234", "token-of-1234"}});
    auto login = logIn();
    ASSERT_TRUE(login.result);
    EXPECT_FALSE(login.result->grantedPermissions.contains("email"));
}

TEST_F(FakeFacebook, GraphRequestsAnswerByPath) {
    kit->setGraphAnswer("1234", {{"id", "1234"}, {"name", "Ada Lovelace"}});
    std::vector<std::pair<nlohmann::json, std::optional<std::string>>> answers;
    auto collect = [&](nlohmann::json result, std::optional<std::string> error) {
        answers.emplace_back(std::move(result), std::move(error));
    };
    kit->startGraphRequest({"1234", {}}, collect);
    kit->startGraphRequest({"999", {{"fields", "name"}}}, collect);
    EXPECT_TRUE(answers.empty());
    mainQueue->runUntilIdle();

    ASSERT_EQ(answers.size(), 2u);
    EXPECT_EQ(answers[0].first.value("name", ""), "Ada Lovelace");
    EXPECT_FALSE(answers[0].second);
    EXPECT_TRUE(answers[1].first.is_null());
    EXPECT_TRUE(answers[1].second);
    EXPECT_EQ(kit->graphRequests(),
              (std::vector<FacebookGraphRequest>{{"1234", {}}, {"999", {{"fields", "name"}}}}));
}

TEST_F(FakeFacebook, RecordsEveryCallInOrder) {
    kit->setPicture("1234", std::string("\xFF\xD8jpeg", 6));
    kit->setOpenURLAnswer(true);
    kit->setLaunchAnswer(false);

    EXPECT_FALSE(kit->didFinishLaunchingWithOptions(nlohmann::json::object()));
    kit->activateApp();
    kit->logInWithReadPermissions({"email"}, nullptr);
    kit->currentAccessToken();
    EXPECT_TRUE(kit->openURL("fb123://authorize#token", "com.apple.mobilesafari", nullptr));
    EXPECT_EQ(kit->fetchPicture("1234"), std::string("\xFF\xD8jpeg", 6));
    EXPECT_EQ(kit->fetchPicture("5678"), std::nullopt);
    kit->logOut();
    mainQueue->runUntilIdle();

    EXPECT_EQ(kit->calls(), (Strings{"didFinishLaunchingWithOptions", "activateApp",
                                     "logInWithReadPermissions email", "currentAccessToken",
                                     "openURL fb123://authorize#token", "fetchPicture 1234",
                                     "fetchPicture 5678", "logOut"}));
    kit->clearCalls();
    EXPECT_TRUE(kit->calls().empty());
}

// Pictures are fetched on background queues while the main thread signs in.
TEST_F(FakeFacebook, PictureFetchesFromBackgroundQueuesAreSafe) {
    kit->setPicture("1", "body");
    std::atomic<int> found{0};
    for (int i = 0; i < 8; ++i) {
        DispatchQueue::create("getProfileImage")->async([this, &found] {
            if (kit->fetchPicture("1")) ++found;
        });
    }
    kit->setLoginSucceeds("1");
    logIn();
    mainQueue->runUntilIdle();
    EXPECT_EQ(found.load(), 8);
}

}  // namespace
}  // namespace kelpa::platform
