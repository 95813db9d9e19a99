#pragma once

#include "AppFixture.h"

#include "client/app/MainStoryboard.h"
#include "client/app/TabPlaceholderViewController.h"
#include "client/model/Group.h"
#include "client/model/User.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Storyboard.h"
#include "platform/ui/TableView.h"
#include "platform/ui/Window.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kelpa::testing {

// Ann (5) signed in, the storyboard "Main" installed, and a window whose navigation stack
// starts at a plain screen ("Home"), so a screen pushed on it can be popped back to there.
struct GroupsFixture {
    GroupsFixture() {
        User::setCurrentUser(User::initWithJSON(AppFixture::userJSON("5", "Ann")));
    }
    ~GroupsFixture() {
        window->setRootViewController(nullptr);
        app.t.settle();
    }

    // A member of group `groupID`; joined on a device when `joinedOn` is given.
    static json member(const std::string& userID, bool leader, std::optional<std::string> joinedOn = std::nullopt) {
        json m{{"User", AppFixture::userJSON(userID, "User " + userID)},
               {"groupID", "?"},
               {"isLeader", leader},
               {"Device", nullptr}};
        if (joinedOn) {
            m["Device"] = json{{"deviceID", *joinedOn}};
            m["joined"] = "2026-03-02T08:00:00";
        }
        return m;
    }
    // The test clock stands at 2026-03-02 09:00; the default window is open then.
    static json group(const std::string& id, const std::string& description, json members = json::array(),
                      const std::string& start = "2026-03-01T18:30:00", const std::string& end = "2026-03-04T07:15:00") {
        for (auto& m : members) m["groupID"] = id;
        return {{"groupID", id},      {"description", description}, {"groupType", 2},
                {"created", "2026-02-20T23:59:00"}, {"startTime", start}, {"endTime", end},
                {"Members", members}, {"Waypoints", json::array()}};
    }

    std::shared_ptr<platform::ui::ViewController> screen(const std::string& identifier) {
        return storyboard->instantiateViewControllerWithIdentifier(identifier);
    }
    // Shows `top` pushed over "Home".
    void show(std::shared_ptr<platform::ui::ViewController> top) {
        navigation->pushViewController(std::move(top), false);
        window->setRootViewController(navigation);
        app.t.settle();
    }
    std::vector<std::string> stack() const { return driver.navigationStack(); }

    // The answers to making a group (action 300) and what each shows.
    struct CreationOutcome {
        const char* name;
        std::optional<json> reply;
        std::optional<std::string> title;  // none: no alert
        std::string message;
    };
    static std::vector<CreationOutcome> creationOutcomes() {
        return {
            {"created", json{{"code", 0}, {"groupID", "44"}, {"wordOne", "kelp"}, {"wordTwo", "otter"}}, "kelp otter",
             "Keep the group secret in your mind! it will never appear again!"},
            {"refused", json{{"code", 1}, {"info", "no"}}, "Failed", ":("},
            {"code 2", json{{"code", 2}, {"info", "no"}}, "Failed", ":("},
            {"no reply", std::nullopt, "Failed", ":("},
            {"other code", json{{"code", 7}, {"info", "?"}}, std::nullopt, ""},
        };
    }
    // After the creating tap has been answered: the outcome's alert and its "OK" going back to
    // where the stack started, or no alert and `creator` still in front.
    void expectCreationOutcome(const CreationOutcome& c, const std::string& creator) {
        app.t.settle();
        EXPECT_EQ(driver.alertTitle(), c.title);
        if (!c.title) {
            EXPECT_EQ(driver.frontmostClass(), creator);
            return;
        }
        EXPECT_EQ(driver.alertMessage(), c.message);
        EXPECT_EQ(driver.alertActions(), (std::vector<std::string>{"OK"}));
        EXPECT_TRUE(driver.chooseAlertAction("OK"));
        app.t.settle();
        EXPECT_EQ(stack(), (std::vector<std::string>{"TabPlaceholderViewController"}));
        EXPECT_TRUE(navigation->lastTransitionOfStackAnimated());
    }

    AppFixture app;
    std::shared_ptr<platform::ui::Storyboard> storyboard = [] {
        MainStoryboard::install();
        return platform::ui::Storyboard::storyboardWithName("Main");
    }();
    std::shared_ptr<platform::ui::NavigationController> navigation =
        platform::ui::NavigationController::initWithRootViewController(
            std::make_shared<TabPlaceholderViewController>("Home"));
    std::shared_ptr<platform::ui::Window> window = std::make_shared<platform::ui::Window>();
    platform::ui::Driver driver{window};
};

}  // namespace kelpa::testing
