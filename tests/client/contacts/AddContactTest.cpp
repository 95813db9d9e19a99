// Adding a contact: the offered users listed as "identifier - name" on every appearance, an
// empty identifier sending nothing, the own identifier refused without a request, a refusal
// showing "!!!" with the identifier kept, and a success going back.
#include "ContactsFixture.h"

#include "client/contacts/AddContactViewController.h"

namespace kelpa::testing {
namespace {

struct AddContact : ::testing::Test {
    void open() {
        f.app.t.http().queueJSONForAction(107, ContactsFixture::users({{"6", "Bob"}, {"7", "Cid Lee"}}));
        f.show(screen);
    }
    std::vector<std::string> rows() const { return f.driver.rows("availableUsersTableView"); }

    ContactsFixture f;
    std::shared_ptr<AddContactViewController> screen = std::make_shared<AddContactViewController>();
};

TEST_F(AddContact, ListsTheOfferedUsersOnEveryAppearanceKeepingThemOnAFailure) {
    open();
    EXPECT_EQ(rows(), (std::vector<std::string>{"6 - Bob", "7 - Cid Lee"}));
    EXPECT_EQ(f.app.sent(107), 2u);  // once on loading, once on appearing
    // Back from another screen, with the service silent: the rows stay.
    f.navigation->pushViewController(std::make_shared<TabPlaceholderViewController>("Other"), false);
    f.navigation->popViewControllerAnimated(false);
    f.app.t.settle();
    EXPECT_EQ(f.app.sent(107), 3u);
    EXPECT_EQ(rows(), (std::vector<std::string>{"6 - Bob", "7 - Cid Lee"}));
    // A row is only there to read from.
    EXPECT_TRUE(f.driver.tapRow("availableUsersTableView", 0));
    EXPECT_EQ(f.driver.frontmostClass(), "AddContactViewController");
}

TEST_F(AddContact, AddsByTheTypedIdentifier) {
    struct Case {
        const char* name;
        std::string typed;
        std::optional<json> reply;  // none: no request expected
        size_t requests;
        bool alert;
    };
    const Case cases[] = {
        {"empty: nothing happens", "", std::nullopt, 0, false},
        {"oneself: refused without a request", "5", std::nullopt, 0, true},
        {"refused by the service", "9", json{{"code", 1}, {"info", "no such user"}}, 1, true},
        {"service unreachable", "9", std::nullopt, 1, true},
        {"added", " 6", json{{"code", 0}}, 1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ContactsFixture w;
        auto add = std::make_shared<AddContactViewController>();
        w.show(add);
        if (c.reply) w.app.t.http().queueJSONForAction(500, *c.reply);
        ASSERT_TRUE(w.driver.type("contactID", c.typed));
        ASSERT_TRUE(w.driver.tap("addButton"));
        w.app.t.settle();
        EXPECT_EQ(w.app.sent(500), c.requests);
        if (c.requests) {
            EXPECT_EQ(w.app.field(500, "contactID"), c.typed);
        }
        const bool added = c.reply && (*c.reply)["code"] == 0;
        EXPECT_EQ(w.driver.frontmostClass(), c.alert ? "AlertController"
                                             : added ? "TabPlaceholderViewController"
                                                     : "AddContactViewController");
        if (!c.alert) continue;
        EXPECT_EQ(w.driver.alertTitle(), "!!!");
        EXPECT_EQ(w.driver.alertMessage(), ":(");
        EXPECT_EQ(w.driver.alertActions(), (std::vector<std::string>{"OK"}));
        ASSERT_TRUE(w.driver.chooseAlertAction("OK"));
        w.app.t.settle();
        EXPECT_TRUE(w.app.t.logged("ok"));
        EXPECT_EQ(w.driver.frontmostClass(), "AddContactViewController");
        EXPECT_EQ(w.driver.text("contactID"), c.typed);
    }
}

TEST_F(AddContact, ATouchBesideTheFieldEndsTheTyping) {
    open();
    ASSERT_TRUE(f.driver.type("contactID", "6"));
    ASSERT_TRUE(screen->contactID->isEditing());
    f.driver.tapOutside();
    EXPECT_FALSE(screen->contactID->isEditing());
}

}  // namespace
}  // namespace kelpa::testing
