// Joining by the two secret words: nothing without both words, the words sent as typed, the
// indicator only while the request runs, and the outcome reported by result code.
#include "GroupsFixture.h"

#include "client/groups/QuickJoinViewController.h"

namespace kelpa::testing {
namespace {

struct QuickJoin : ::testing::Test {
    void open() { f.show(screen); }
    bool busy() const { return f.driver.isVisible("status"); }

    GroupsFixture f;
    std::shared_ptr<platform::ui::ViewController> screen = f.screen("QuickJoinViewController");
};

TEST_F(QuickJoin, AMissingWordSendsNothing) {
    open();
    for (const auto& [one, two] : {std::pair{"", ""}, {"kelp", ""}, {"", "otter"}}) {
        SCOPED_TRACE(std::string(one) + "/" + two);
        f.driver.type("wordOne", one);
        f.driver.type("wordTwo", two);
        EXPECT_TRUE(f.driver.tap("join"));
        EXPECT_FALSE(busy());
        f.app.t.settle();
        EXPECT_EQ(f.app.sent(311), 0u);
        EXPECT_FALSE(f.driver.alert());
    }
}

TEST(QuickJoinCases, TheOutcomeFollowsTheResultCode) {
    struct Case {
        const char* name;
        std::optional<json> reply;
        std::optional<std::string> alert;
        bool backToRoot;
    };
    const Case cases[] = {
        {"joined", json{{"code", 0}}, "success", true},
        {"refused", json{{"code", 1}, {"info", "no such words"}}, "failed", false},
        {"code 2", json{{"code", 2}, {"info", "?"}}, "failed", false},
        {"no reply", std::nullopt, "failed", false},  // no reply counts as code 1
        {"other code", json{{"code", 7}, {"info", "?"}}, std::nullopt, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GroupsFixture fresh;
        auto join = fresh.screen("QuickJoinViewController");
        fresh.show(join);
        if (c.reply) fresh.app.t.http().queueJSONForAction(311, *c.reply);
        // Sent exactly as typed: blanks and case kept.
        fresh.driver.type("wordOne", " Blue whale");
        fresh.driver.type("wordTwo", "Kelp&Co ");
        EXPECT_TRUE(fresh.driver.tap("join"));
        EXPECT_TRUE(fresh.driver.isVisible("status"));
        fresh.app.t.settle();
        EXPECT_FALSE(fresh.driver.isVisible("status"));
        EXPECT_EQ(fresh.app.field(311, "wordOne"), " Blue whale");
        EXPECT_EQ(fresh.app.field(311, "wordTwo"), "Kelp&Co ");
        EXPECT_EQ(fresh.driver.alertTitle(), c.alert);
        if (!c.alert) {
            EXPECT_EQ(fresh.driver.frontmostClass(), "QuickJoinViewController");
            continue;
        }
        EXPECT_EQ(fresh.driver.alertMessage(), "");
        EXPECT_EQ(fresh.driver.alertActions(), (std::vector<std::string>{"OK"}));
        EXPECT_TRUE(fresh.driver.chooseAlertAction("OK"));
        fresh.app.t.settle();
        if (c.backToRoot) {
            EXPECT_EQ(fresh.stack(), (std::vector<std::string>{"TabPlaceholderViewController"}));
            EXPECT_TRUE(fresh.navigation->lastTransitionOfStackAnimated());
        } else {
            EXPECT_EQ(fresh.driver.frontmostClass(), "QuickJoinViewController");
            EXPECT_EQ(fresh.driver.text("wordOne"), " Blue whale");
            EXPECT_EQ(fresh.driver.text("wordTwo"), "Kelp&Co ");
        }
    }
}

TEST_F(QuickJoin, EachTapStartsItsOwnRequest) {
    open();
    f.driver.type("wordOne", "kelp");
    f.driver.type("wordTwo", "otter");
    f.driver.tap("join");
    f.driver.tap("join");
    f.app.t.settle();
    EXPECT_EQ(f.app.sent(311), 2u);
}

TEST_F(QuickJoin, ATouchOutsideEndsEditing) {
    open();
    auto field = f.driver.find<platform::ui::TextField>("wordOne");
    ASSERT_TRUE(field);
    field->becomeFirstResponder();
    f.driver.tapOutside();
    EXPECT_FALSE(field->isEditing());
}

}  // namespace
}  // namespace kelpa::testing
