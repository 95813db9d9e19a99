// The new-group menu: an ad hoc group made at once with its two words shown once, and the
// ways on to joining by words, planning and the nearby screens.
#include "GroupsFixture.h"

#include "client/groups/NewGroupMenuViewController.h"

namespace kelpa::testing {
namespace {

TEST(NewGroupMenu, AnAdhocGroupShowsItsTwoWordsOrFails) {
    struct Case {
        const char* name;
        std::optional<json> reply;
        std::optional<std::string> title;
        std::string message;
    };
    const Case cases[] = {
        {"created", json{{"code", 0}, {"groupID", "44"}, {"wordOne", "kelp"}, {"wordTwo", "otter"}}, "kelp otter",
         "Keep the group secret in your mind! it will never appear again!"},
        {"refused", json{{"code", 1}, {"info", "no"}}, "Failed", ":("},
        {"code 2", json{{"code", 2}, {"info", "no"}}, "Failed", ":("},
        {"no reply", std::nullopt, "Failed", ":("},
        {"other code", json{{"code", 5}, {"info", "?"}}, std::nullopt, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GroupsFixture f;
        f.show(f.screen("NewGroupMenuViewController"));
        if (c.reply) f.app.t.http().queueJSONForAction(300, *c.reply);
        EXPECT_TRUE(f.driver.tap("adhocGroup"));
        f.app.t.settle();
        EXPECT_EQ(f.app.sent(300), 1u);
        EXPECT_EQ(f.driver.alertTitle(), c.title);
        if (!c.title) {
            EXPECT_EQ(f.driver.frontmostClass(), "NewGroupMenuViewController");
            continue;
        }
        EXPECT_EQ(f.driver.alertMessage(), c.message);
        EXPECT_EQ(f.driver.alertActions(), (std::vector<std::string>{"OK"}));
        // Either way "OK" goes back to where the stack started.
        EXPECT_TRUE(f.driver.chooseAlertAction("OK"));
        f.app.t.settle();
        EXPECT_EQ(f.stack(), (std::vector<std::string>{"TabPlaceholderViewController"}));
        EXPECT_TRUE(f.navigation->lastTransitionOfStackAnimated());
    }
}

TEST(NewGroupMenu, TheOtherEntriesLeadOn) {
    const std::pair<const char*, const char*> entries[] = {
        {"quickJoin", "QuickJoinViewController"},
        {"plannedGroup", "AddDetailsToGroupViewController"},
        {"scanGroups", "ScanForBluetoothGroupsViewController"},
        {"beFound", "PeripheralViewController"},
    };
    for (const auto& [button, screen] : entries) {
        SCOPED_TRACE(button);
        GroupsFixture f;
        f.show(f.screen("NewGroupMenuViewController"));
        EXPECT_TRUE(f.driver.tap(button));
        f.app.t.settle();
        EXPECT_EQ(f.driver.frontmostClass(), screen);
        EXPECT_EQ(f.stack().size(), 3u);
        EXPECT_EQ(f.app.sent(300), 0u);
    }
}

}  // namespace
}  // namespace kelpa::testing
