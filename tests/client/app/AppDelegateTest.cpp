#include "AppFixture.h"

#include "client/app/AuthViewController.h"
#include "client/app/PhoneVerificationViewController.h"
#include "client/app/TabPlaceholderViewController.h"
#include "client/model/Group.h"
#include "platform/NotificationCenter.h"
#include "platform/ui/TabBarController.h"

#include <any>

namespace kelpa::testing {
namespace {

TEST(StartUp, TheRootScreenFollowsTheStoredSignInAndItsRegistrationState) {
    struct Case {
        const char* name;
        std::optional<std::string> storedID;
        std::optional<json> reply;  // none: the service does not answer
        std::string frontmost;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"nothing stored", std::nullopt, std::nullopt, "AuthViewController",
         {"continue with social/email login process"}},
        {"registration completed", "5", AppFixture::userJSON("5", "Ann"), "MapViewController",
         {"try to login with id", "successfully logged in"}},
        {"registration not completed", "5", AppFixture::userJSON("5", "Ann", false), "PhoneVerificationViewController",
         {"try to login with id", "successfully logged in"}},
        {"unknown user", "5", json{{"code", 2}}, "AuthViewController",
         {"try to login with id", "user not exists", "other error", "continue with social/email login process"}},
        {"service out of reach", "5", std::nullopt, "AuthViewController",
         {"try to login with id", "other error", "continue with social/email login process"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppFixture app;
        if (c.storedID) app.storeSignIn(*c.storedID, c.reply);
        app.launch();
        EXPECT_EQ(app.driver->frontmostClass(), c.frontmost);
        auto lines = app.t.logLines();
        for (const auto& line : c.lines) EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
        EXPECT_EQ(app.sent(101), c.storedID ? 1u : 0u);
        if (c.storedID) {
            EXPECT_EQ(app.field(101, "userID"), *c.storedID);
        }
        // A failed sign-in keeps the identifier for the next start.
        EXPECT_EQ(app.t.env().preferences->string("kUserID"), c.storedID);
    }
}

TEST(StartUp, TheTabsAreTheMapGroupsContactsAndProfile) {
    AppFixture app;
    app.storeSignIn("5", AppFixture::userJSON("5", "Ann"));
    app.launch();
    auto* tabs = dynamic_cast<platform::ui::TabBarController*>(app.driver->rootViewController().get());
    ASSERT_TRUE(tabs);
    std::vector<std::string> titles;
    for (const auto& tab : tabs->viewControllers()) titles.push_back(tab->title());
    EXPECT_EQ(titles, (std::vector<std::string>{"Map", "Groups", "Contacts", "Profile"}));
    EXPECT_EQ(app.driver->frontmostClass(), "MapViewController");
    app.driver->pickTab(3);
    EXPECT_EQ(app.driver->frontmostClass(), "ProfileViewController");
    EXPECT_EQ(app.driver->text("userID"), "5");
}

TEST(StartUp, KitsStartOnceAndTheFacebookAnswerIsTheLaunchAnswer) {
    for (bool answer : {true, false}) {
        AppFixture app;
        app.facebook->setLaunchAnswer(answer);
        app.launch();
        EXPECT_EQ(app.launchResult, answer);
        EXPECT_EQ(app.twitter->calls(), (std::vector<std::string>{"start"}));
        auto calls = app.facebook->calls();
        EXPECT_NE(std::find(calls.begin(), calls.end(), "activateApp"), calls.end());
    }
}

TEST(PushRegistration, TheTokenGoesToTheServiceAsHexOnEveryLaunch) {
    AppFixture app;
    app.launch();
    EXPECT_EQ(app.push->registrations(), 1);
    EXPECT_EQ(app.application->registeredNotificationTypes(), 7);
    ASSERT_EQ(app.sent(106), 1u);
    EXPECT_EQ(app.field(106, "token"), "000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f");
    EXPECT_EQ(app.field(106, "userID"), "-4321");
}

TEST(PushRegistration, AFailureIsOneLogLine) {
    AppFixture app;
    app.push->failRegistration("no network");
    app.launch();
    EXPECT_TRUE(app.t.logged("Failed To Register For Remote Notifications With Error: no network"));
    EXPECT_EQ(app.sent(106), 0u);
}

TEST(PushRouting, EachReasonPostsItsNotificationWhetherNumberOrText) {
    struct Case {
        json payload;
        std::string posted;  // empty: nothing
        std::string line;
    };
    const Case cases[] = {
        {{{"acme-action", 601}}, "reloadChat", "RELOAD_CHAT"},
        {{{"acme-action", "601"}}, "reloadChat", "RELOAD_CHAT"},
        {{{"acme-action", 301}}, "reloadMembers", "RELOAD_MEMBERS"},
        {{{"acme-action", 302}, {"acme-objectID", "9"}}, "bluetoothJoinRequested", "BLUETOOTH_JOIN_REQUESTED"},
        {{{"acme-action", "302"}, {"acme-objectID", 9}}, "bluetoothJoinRequested", "BLUETOOTH_JOIN_REQUESTED"},
        {{{"acme-action", 999}}, "", ""},
        {{{"aps", {{"alert", "hi"}}}}, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.payload.dump());
        AppFixture app;
        app.launch();
        std::vector<std::pair<std::string, std::any>> seen;
        for (const char* name : {"reloadChat", "reloadMembers", "bluetoothJoinRequested"}) {
            app.t.env().notifications->addObserver(name, [&seen, name](const platform::Notification& n) {
                seen.emplace_back(name, n.object);
            });
        }
        app.push->deliver(c.payload);
        app.t.settle();
        EXPECT_TRUE(app.t.logged("-[AppDelegate application:didReceiveRemoteNotification:]..userInfo=" + c.payload.dump()));
        if (c.posted.empty()) {
            EXPECT_TRUE(seen.empty());
            continue;
        }
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].first, c.posted);
        EXPECT_TRUE(app.t.logged(c.line));
        const auto* object = std::any_cast<json>(&seen[0].second);
        if (c.posted == "bluetoothJoinRequested") {
            ASSERT_TRUE(object);
            EXPECT_EQ(*object, c.payload);
        } else {
            EXPECT_FALSE(seen[0].second.has_value());
        }
    }
}

TEST(Termination, LeavesTheJoinedGroupAndSaysSo) {
    AppFixture app;
    app.storeSignIn("5", AppFixture::userJSON("5", "Ann"));
    app.launch();
    app.application->terminate();
    app.t.settle();
    EXPECT_EQ(app.sent(308), 0u) << "nothing joined, nothing sent";

    AppFixture joined;
    joined.storeSignIn("5", AppFixture::userJSON("5", "Ann"));
    joined.launch();
    Group::setJoinedGroup(Group::initWithJSON({{"groupID", "17"}, {"Members", json::array()}}));
    joined.t.http().queueJSONForAction(308, json{{"code", 0}});
    joined.application->terminate();
    joined.application->terminate();  // the end comes once
    joined.t.settle();
    ASSERT_EQ(joined.sent(308), 1u);
    EXPECT_EQ(joined.field(308, "groupID"), "17");
    EXPECT_EQ(joined.field(308, "userID"), "5");
    EXPECT_TRUE(joined.t.logged("unjoined"));
}

}  // namespace
}  // namespace kelpa::testing
