// The chat: sent and received messages told apart, the newest first in a table drawn upside
// down, a send showing the message at once and keeping it on a refusal, "reloadChat"
// replacing the rows, and the screen moving up while the person types.
#include "ContactsFixture.h"

#include "client/contacts/ChatViewController.h"
#include "client/model/Message.h"
#include "platform/NotificationCenter.h"
#include "platform/ui/TableViewCell.h"

namespace kelpa::testing {
namespace {

struct Chat : ::testing::Test {
    // Opens the chat with Bob (6) on `conversation`, or on none.
    void open(std::optional<json> conversation) {
        screen->recipient = User::initWithJSON(AppFixture::userJSON("6", "Bob"));
        if (conversation) {
            RecordList<Message> list;
            for (const auto& m : *conversation) list.push_back(Message::initWithJSON(m));
            screen->messages = list;
        }
        f.show(screen);
    }
    std::vector<std::string> rows() const { return f.driver.rows("chatTableView"); }
    static json two() {
        return json::array({ContactsFixture::message("2", "6", "5", "Hi Ann", "2026-03-02T08:30:00"),
                            ContactsFixture::message("1", "5", "6", "Hi Bob", "2026-03-02T08:00:00")});
    }

    ContactsFixture f;
    std::shared_ptr<ChatViewController> screen = std::make_shared<ChatViewController>();
};

TEST_F(Chat, TellsSentFromReceivedNewestAtTheBottom) {
    open(two());
    EXPECT_EQ(screen->title(), "Bob");
    EXPECT_EQ(rows(), (std::vector<std::string>{">> Hi Ann | 02 Mar 2026, 08:30:00", "<< Hi Bob | 02 Mar 2026, 08:00:00"}));
    // Row 0 is the newest; the flipped table draws it at the bottom and each row reads upright.
    const platform::ui::Transform flipped{1, -1};
    EXPECT_EQ(screen->chatTableView->transform(), flipped);
    for (int row : {0, 1}) EXPECT_EQ(screen->chatTableView->cellForRowAtIndexPath({0, row})->transform(), flipped);
}

TEST_F(Chat, ASendShowsAtOnceAtTheBottomAndAnEmptyOneSendsNothing) {
    for (const bool handedOver : {true, false}) {
        SCOPED_TRACE(handedOver ? "conversation handed over" : "none handed over");
        ContactsFixture w;
        auto chat = std::make_shared<ChatViewController>();
        chat->recipient = User::initWithJSON(AppFixture::userJSON("6", "Bob"));
        if (handedOver) chat->messages = RecordList<Message>{Message::initWithJSON(two()[0])};
        w.show(chat);
        ASSERT_TRUE(w.driver.tap("sendButton"));
        w.app.t.settle();
        EXPECT_EQ(w.app.sent(600), 0u);

        w.app.t.http().queueJSONForAction(600, json{{"code", 0}});
        ASSERT_TRUE(w.driver.type("textToSend", "On my way"));
        ASSERT_TRUE(w.driver.tap("sendButton"));
        // Before the answer: the message is the newest row and the field is empty.
        auto shown = w.driver.rows("chatTableView");
        ASSERT_EQ(shown.size(), handedOver ? 2u : 1u);
        EXPECT_EQ(shown.front(), "<< On my way | 02 Mar 2026, 09:00:00");
        EXPECT_EQ(w.driver.text("textToSend"), "");
        const auto& sent = chat->messages->front();
        EXPECT_EQ(sent->fromUserID, "5");
        EXPECT_EQ(sent->toUserID, "6");
        EXPECT_EQ(sent->messageID, "");
        w.app.t.settle();
        EXPECT_EQ(w.app.field(600, "text"), "On my way");
        EXPECT_EQ(w.app.field(600, "toUserID"), "6");
        EXPECT_FALSE(w.driver.alert());
    }
}

TEST_F(Chat, ARefusedSendShowsTheErrorAndKeepsTheMessage) {
    struct Case {
        const char* name;
        std::optional<json> reply;
        std::string info;
    };
    const Case cases[] = {
        {"refused", json{{"code", 1}, {"info", "not your contact"}}, "not your contact"},
        {"unreachable", std::nullopt, "Unknown Error"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ContactsFixture w;
        auto chat = std::make_shared<ChatViewController>();
        chat->recipient = User::initWithJSON(AppFixture::userJSON("6", "Bob"));
        w.show(chat);
        if (c.reply) w.app.t.http().queueJSONForAction(600, *c.reply);
        ASSERT_TRUE(w.driver.type("textToSend", "Hello"));
        ASSERT_TRUE(w.driver.tap("sendButton"));
        w.app.t.settle();
        EXPECT_EQ(w.driver.alertTitle(), "error");
        EXPECT_EQ(w.driver.alertMessage(), c.info);
        EXPECT_EQ(w.driver.alertActions(), (std::vector<std::string>{"OK"}));
        ASSERT_TRUE(w.driver.chooseAlertAction("OK"));
        w.app.t.settle();
        EXPECT_EQ(w.driver.rows("chatTableView"), (std::vector<std::string>{"<< Hello | 02 Mar 2026, 09:00:00"}));
    }
}

TEST_F(Chat, ReloadChatReplacesTheRowsAndAFailedReloadKeepsThem) {
    open(two());
    auto& centre = *f.app.t.env().notifications;
    f.app.t.http().queueJSONForAction(
        601, json::array({ContactsFixture::message("3", "6", "5", "Where are you?", "2026-03-02T08:55:00")}));
    centre.post("reloadChat");
    f.app.t.settle();
    EXPECT_EQ(f.app.field(601, "toUserID"), "6");
    EXPECT_EQ(rows(), (std::vector<std::string>{">> Where are you? | 02 Mar 2026, 08:55:00"}));
    centre.post("reloadChat");  // no answer this time
    f.app.t.settle();
    EXPECT_EQ(f.app.sent(601), 2u);
    EXPECT_EQ(rows(), (std::vector<std::string>{">> Where are you? | 02 Mar 2026, 08:55:00"}));
    // A closed chat no longer listens.
    f.navigation->popViewControllerAnimated(false);
    screen.reset();
    f.app.t.settle();
    centre.post("reloadChat");
    f.app.t.settle();
    EXPECT_EQ(f.app.sent(601), 2u);
}

TEST_F(Chat, TypingMovesTheScreenUpAndEndingMovesItBack) {
    open(std::nullopt);
    const auto start = screen->view()->frame();
    double duration = -1;
    auto watch = screen->view()->observe([&] {
        if (const auto* animation = platform::ui::View::currentAnimation()) duration = animation->duration;
    });
    ASSERT_TRUE(f.driver.type("textToSend", "x"));
    EXPECT_EQ(screen->view()->frame().y, start.y - 200);
    EXPECT_EQ(screen->view()->frame().x, start.x);
    EXPECT_EQ(duration, static_cast<double>(0.3f));
    // A tap on the table ends the typing like a touch elsewhere.
    for (const bool onTable : {true, false}) {
        SCOPED_TRACE(onTable ? "tap on the table" : "touch elsewhere");
        if (!screen->textToSend->isEditing()) {
            ASSERT_TRUE(f.driver.type("textToSend", "x"));
        }
        onTable ? screen->tableViewTapped() : f.driver.tapOutside();
        EXPECT_FALSE(screen->textToSend->isEditing());
        EXPECT_EQ(screen->view()->frame(), start);
    }
    screen->view()->unobserve(watch);
}

}  // namespace
}  // namespace kelpa::testing
