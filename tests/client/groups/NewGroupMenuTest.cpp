// The new-group menu: an ad hoc group made at once with its two words shown once, and the
// ways on to joining by words, planning and the nearby screens.
#include "GroupsFixture.h"

#include "client/groups/NewGroupMenuViewController.h"

namespace kelpa::testing {
namespace {

TEST(NewGroupMenu, AnAdhocGroupShowsItsTwoWordsOrFails) {
    for (const auto& c : GroupsFixture::creationOutcomes()) {
        SCOPED_TRACE(c.name);
        GroupsFixture f;
        f.show(f.screen("NewGroupMenuViewController"));
        if (c.reply) f.app.t.http().queueJSONForAction(300, *c.reply);
        EXPECT_TRUE(f.driver.tap("adhocGroup"));
        f.app.t.settle();
        EXPECT_EQ(f.app.sent(300), 1u);
        f.expectCreationOutcome(c, "NewGroupMenuViewController");
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
