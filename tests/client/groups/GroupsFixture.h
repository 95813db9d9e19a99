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
