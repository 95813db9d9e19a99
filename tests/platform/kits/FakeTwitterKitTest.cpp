#include "KitTestEnvironment.h"

#include "platform/DispatchQueue.h"
#include "platform/kits/FakeTwitterKit.h"

#include <optional>
#include <string>
#include <vector>

namespace kelpa::platform {
namespace {

using Strings = std::vector<std::string>;

class FakeTwitter : public KitTestEnvironment {
protected:
    void SetUp() override {
        KitTestEnvironment::SetUp();
        kit = std::make_shared<FakeTwitterKit>();
        env->twitter = kit;
    }
    std::shared_ptr<FakeTwitterKit> kit;
};

TEST_F(FakeTwitter, LoginDeliversTheScriptedSessionOnTheMainQueue) {
    struct Case {
        const char* name;
        bool script;
        std::optional<TwitterSession> session;
        std::optional<std::string> error;
    };
    for (const auto& c : {
             Case{"unscripted", false, std::nullopt, FakeTwitterKit::cancelledText},
             Case{"session", true, TwitterSession{"42", "ada", "t", "s"}, std::nullopt},
             Case{"failure", true, std::nullopt, "Request failed: unauthorized (401)"},
         }) {
        if (c.script) kit->setLoginAnswer(c.session, c.error);
        bool called = false, onMain = false;
        std::optional<TwitterSession> session;
        std::optional<std::string> error;
        env->twitter->logInWithCompletion([&](auto s, auto e) {
            called = true;
            onMain = mainQueue->isMainThread();
            session = s;
            error = e;
        });
        EXPECT_FALSE(called) << c.name;
        mainQueue->runUntilIdle();
        EXPECT_TRUE(called && onMain) << c.name;
        EXPECT_EQ(session, c.session) << c.name;
        EXPECT_EQ(error, c.error) << c.name;
    }
}

TEST_F(FakeTwitter, LoadsKnownUsersAndFailsForOthers) {
    TwitterUser ada{"42", "Ada Lovelace", "https://pbs.twimg.com/profile_images/42/ada.jpg"};
    kit->addUser(ada);
    std::vector<std::pair<std::optional<TwitterUser>, std::optional<std::string>>> answers;
    for (const char* id : {"42", "7"}) {
        kit->loadUserWithID(id, [&](auto user, auto error) { answers.emplace_back(user, error); });
    }
    mainQueue->runUntilIdle();

    ASSERT_EQ(answers.size(), 2u);
    EXPECT_EQ(answers[0].first, ada);
    EXPECT_FALSE(answers[0].second);
    EXPECT_FALSE(answers[1].first);
    EXPECT_TRUE(answers[1].second);
}

// The picture import: a user lookup from a background queue, then the download inside its
// completion, which arrives on the main queue.
TEST_F(FakeTwitter, PictureImportDownloadsTheLargeProfileImage) {
    kit->addUser({"42", "Ada", "https://pbs.twimg.com/a.jpg"});
    kit->setImage("https://pbs.twimg.com/a.jpg", "jpeg bytes");
    std::optional<std::string> body;
    bool downloadedOnMain = false;
    DispatchQueue::create("getProfileImage")->async([this, &body, &downloadedOnMain] {
        kit->loadUserWithID("42", [this, &body, &downloadedOnMain](auto user, auto) {
            downloadedOnMain = mainQueue->isMainThread();
            if (user) body = kit->downloadImage(user->profileImageLargeURL);
        });
    });
    mainQueue->runUntilIdle();

    EXPECT_EQ(body, "jpeg bytes");
    EXPECT_TRUE(downloadedOnMain);
    EXPECT_EQ(kit->downloadImage("https://pbs.twimg.com/other.jpg"), std::nullopt);
    EXPECT_EQ(kit->calls(), (Strings{"loadUserWithID 42", "downloadImage https://pbs.twimg.com/a.jpg",
                                     "downloadImage https://pbs.twimg.com/other.jpg"}));
}

TEST_F(FakeTwitter, RecordsStartAndLogOut) {
    kit->start();
    kit->logInWithCompletion(nullptr);
    kit->logOut();
    mainQueue->runUntilIdle();
    EXPECT_EQ(kit->calls(), (Strings{"start", "logInWithCompletion", "logOut"}));
    kit->clearCalls();
    EXPECT_TRUE(kit->calls().empty());
}

}  // namespace
}  // namespace kelpa::platform
