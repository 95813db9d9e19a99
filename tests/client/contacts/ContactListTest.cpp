// The contact list: the numbers read from the address book once and sent as one comma list,
// the matched users listed with their pictures, a failed load keeping the rows, the pull
// asking again for the same numbers, a row opening the conversation, and the button opening
// the add-contact screen.
#include "ContactsFixture.h"

#include "client/contacts/AddContactViewController.h"
#include "client/contacts/ChatViewController.h"
#include "client/contacts/ContactsTableViewController.h"
#include "client/model/Message.h"
#include "platform/ui/RefreshControl.h"
#include "platform/ui/TableViewCell.h"

namespace kelpa::testing {
namespace {

struct ContactList : ::testing::Test {
    ContactList() { screen->setStoryboard(f.storyboard); }
    void open() { f.show(screen); }
    std::vector<std::string> rows() const { return f.driver.rows("contactsTableView"); }
    void matches(const json& users) { f.app.t.http().queueJSONForAction(111, users); }

    ContactsFixture f;
    std::shared_ptr<ContactsTableViewController> screen = std::make_shared<ContactsTableViewController>();
};

TEST(ContactListNumbers, SendsEveryNumberOfTheBookNormalisedButTheOwnOne) {
    struct Case {
        const char* name;
        std::vector<ContactsFixture::Person> people;
        bool granted;
        std::string sent;
    };
    const Case cases[] = {
        {"two numbers in their order, a person without any adds nothing",
         {{"Bob", {"+49 170 6", "0171 666"}}, {"Nobody", {}}, {"Cid", {"+491707"}}},
         true,
         "+491706,+49171666,+491707"},
        {"the own number is left out, duplicates stay",
         {{"Me", {"+49 170 12345"}}, {"Bob", {"+491706"}}, {"Bob again", {"+491706"}}},
         true,
         "+491706,+491706"},
        {"access refused sends an empty list", {{"Bob", {"+491706"}}}, false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ContactsFixture f;
        f.book(c.people, c.granted);
        auto list = std::make_shared<ContactsTableViewController>();
        f.show(list);
        ASSERT_EQ(f.app.sent(111), 1u);
        EXPECT_EQ(f.numbersSent(), c.sent);
        EXPECT_EQ(f.app.sent(501), 0u);
    }
}

TEST(ContactListNumbers, WithoutAnAddressBookTheEmptyListGoesOut) {
    ContactsFixture f;
    f.app.t.http().queueJSONForAction(111, ContactsFixture::users({{"6", "Bob"}}));
    auto list = std::make_shared<ContactsTableViewController>();
    f.show(list);
    EXPECT_EQ(f.numbersSent(), "");
    EXPECT_EQ(f.driver.rows("contactsTableView"), (std::vector<std::string>{"Bob"}));
}

TEST_F(ContactList, ListsTheMatchesWithTheirPicturesAndKeepsThemOnAFailedLoad) {
    servePictures(f.app.t.http());
    f.book({{"Bob", {"+491706"}}, {"Cid", {"+491707"}}});
    matches(ContactsFixture::users({{"7", "Cid"}, {"6", "Bob"}}));
    open();
    EXPECT_EQ(rows(), (std::vector<std::string>{"Cid", "Bob"}));
    EXPECT_EQ(shadeIn(*screen->contactsTableView->cellForRowAtIndexPath({0, 0})), shadeOf("7"));
    EXPECT_EQ(shadeIn(*screen->contactsTableView->cellForRowAtIndexPath({0, 1})), shadeOf("6"));
    // The match also becomes the user's contacts.
    ASSERT_TRUE(User::getCurrentUser()->contacts);
    EXPECT_EQ(User::getCurrentUser()->contacts->size(), 2u);
    // The service gives nothing back: the rows stay.
    screen->setupContacts();
    f.app.t.settle();
    EXPECT_EQ(rows(), (std::vector<std::string>{"Cid", "Bob"}));
}

TEST_F(ContactList, APullAsksAgainForTheNumbersReadAndAlwaysEndsTheIndicator) {
    f.book({{"Bob", {"+491706"}}});
    matches(ContactsFixture::users({{"6", "Bob"}}));
    open();
    // Edits to the book after loading do not reach the list: it was read once.
    f.book({{"Bob", {"+491706"}}, {"Dan", {"+491708"}}});
    auto control = screen->contactsTableView->refreshControl();
    for (const bool answered : {false, true}) {
        SCOPED_TRACE(answered ? "answered" : "failed");
        if (answered) matches(ContactsFixture::users({{"6", "Bob"}, {"8", "Dan"}}));
        ASSERT_TRUE(f.driver.pullToRefresh("contactsTableView"));
        f.app.t.settle();
        EXPECT_FALSE(control->isRefreshing());
        EXPECT_EQ(f.numbersSent(f.app.sent(111) - 1), "+491706");
        EXPECT_EQ(rows(), answered ? (std::vector<std::string>{"Bob", "Dan"}) : (std::vector<std::string>{"Bob"}));
    }
    EXPECT_EQ(f.app.sent(111), 3u);
    // Appearing again does not reload.
    f.navigation->pushViewController(std::make_shared<TabPlaceholderViewController>("Other"), false);
    f.navigation->popViewControllerAnimated(false);
    f.app.t.settle();
    EXPECT_EQ(f.app.sent(111), 3u);
}

TEST_F(ContactList, ARowOpensTheChatWithTheConversationHandedOver) {
    f.book({{"Bob", {"+491706"}}});
    matches(ContactsFixture::users({{"6", "Bob"}, {"7", "Cid"}}));
    open();
    for (const bool loaded : {true, false}) {
        SCOPED_TRACE(loaded ? "loaded" : "load failed");
        if (loaded) {
            f.app.t.http().queueJSONForAction(
                601, json::array({ContactsFixture::message("2", "6", "5", "Hi Ann"),
                                  ContactsFixture::message("1", "5", "6", "Hi Bob", "2026-03-02T07:00:00")}));
        }
        ASSERT_TRUE(f.driver.tapRow("contactsTableView", 0));
        // Only the loaded conversation opens the chat.
        EXPECT_EQ(f.driver.frontmostClass(), "ContactsTableViewController");
        f.app.t.settle();
        auto* chat = dynamic_cast<ChatViewController*>(f.driver.frontmost());
        ASSERT_TRUE(chat);
        EXPECT_EQ(f.app.field(601, "toUserID", f.app.sent(601) - 1), "6");
        EXPECT_EQ(chat->recipient, screen->contacts[0]);
        EXPECT_EQ(chat->title(), "Bob");
        EXPECT_EQ(f.driver.rows("chatTableView"),
                  loaded ? (std::vector<std::string>{">> Hi Ann | 02 Mar 2026, 08:00:00", "<< Hi Bob | 02 Mar 2026, 07:00:00"})
                         : std::vector<std::string>{});
        f.driver.goBack();
        f.app.t.settle();
    }
}

TEST_F(ContactList, TheButtonOpensAddingAContact) {
    open();
    ASSERT_TRUE(f.driver.tap("addContactButton"));
    f.app.t.settle();
    EXPECT_EQ(f.driver.frontmostClass(), "AddContactViewController");
}

}  // namespace
}  // namespace kelpa::testing
