// Two installations of the application, without a renderer, against the real kelpa-server:
// each finds the other on its contacts tab from its own vCard address book, they write to
// each other in the chat, and the open chat reloads when the push about a new message comes.
#include "HeadlessApp.h"

#include "client/contacts/ChatViewController.h"
#include "client/model/Functions.h"
#include "client/model/User.h"
#include "client/service/API.h"
#include "platform/contacts/VCardAddressBook.h"
#include "tests/server/TripFixture.h"

#include <gtest/gtest.h>

#include <fstream>

namespace kelpa::e2e {
namespace {

class ContactsChat : public server::testing::ServerFixture {
protected:
    // An installation whose address book holds one other person under a national number.
    std::unique_ptr<HeadlessApp> app(const std::string& name, const std::string& friendName,
                                     const std::string& friendNumber) {
        const auto dir = std::filesystem::path(database->directory());
        auto instance = std::make_unique<HeadlessApp>(dir / name, "http://127.0.0.1:" + std::to_string(server->port()),
                                                      std::make_shared<platform::SimulatedRadio>());
        const auto book = dir / (name + ".vcf");
        std::ofstream(book) << "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:" << friendName << "\r\nTEL;TYPE=cell:" << friendNumber
                            << "\r\nTEL;TYPE=work:+49 89 5550000\r\nEND:VCARD\r\n";
        instance->inside([&] { instance->env()->addressBook = std::make_shared<platform::VCardAddressBook>(book); });
        return instance;
    }
    // An account with a verified phone and the registration completed, so that the next
    // launch signs it in and opens on the tabs.
    void signUp(HeadlessApp& who, const std::string& name, const std::string& number) {
        bool done = false;
        who.inside([&] {
            auto user = std::make_shared<User>();
            user->displayName = name;
            API::registerNewUser(user, name + "@example.org", Functions::getHashedStringFromString("secret " + name),
                                 [&](std::int32_t) { done = true; });
        });
        ASSERT_TRUE(HeadlessApp::runUntil({&who}, [&] { return done; }));
        ASSERT_TRUE(who.verifyPhoneAndCompleteRegistration(number));
        who.inside([] { User::setCurrentUser(nullptr); });
    }
    static std::string front(HeadlessApp& who) { return who.inside([&] { return who.driver().frontmostClass(); }); }
    static std::vector<std::string> rows(HeadlessApp& who, const std::string& table) {
        return who.inside([&] { return who.driver().rows(table); });
    }
    // Opens the contacts tab and the chat with its only contact, who must be `name`.
    void openChatWith(HeadlessApp& who, const std::string& name) {
        who.inside([&] { who.driver().pickTab(2); });
        ASSERT_TRUE(HeadlessApp::runUntil(apps, [&] { return rows(who, "contactsTableView").size() == 1; }));
        EXPECT_EQ(rows(who, "contactsTableView"), std::vector<std::string>{name});
        who.inside([&] { who.driver().tapRow("contactsTableView", 0); });
        ASSERT_TRUE(HeadlessApp::runUntil(apps, [&] { return front(who) == "ChatViewController"; }));
    }
    static void send(HeadlessApp& who, const std::string& text) {
        who.inside([&] {
            who.driver().type("textToSend", text);
            who.driver().tap("sendButton");
            who.driver().tapOutside();
        });
    }
    // The chat's rows without their times.
    static std::vector<std::string> texts(HeadlessApp& who) {
        std::vector<std::string> out;
        for (auto row : rows(who, "chatTableView")) out.push_back(row.substr(0, row.find(" | ")));
        return out;
    }

    std::vector<HeadlessApp*> apps;
};

TEST_P(ContactsChat, EachFindsTheOtherInTheAddressBookAndTheOpenChatReloadsOnThePush) {
    auto ann = app("ann", "Bob Brown", "0170 1110002");
    auto bob = app("bob", "Ann Adams", "+49 170 1110001");
    apps = {ann.get(), bob.get()};
    signUp(*ann, "Ann", "+491701110001");
    signUp(*bob, "Bob", "+491701110002");
    for (auto* who : apps) {
        who->launch();
        ASSERT_TRUE(HeadlessApp::runUntil(apps, [&] { return front(*who) == "MapViewController"; }));
    }

    openChatWith(*ann, "Bob");
    EXPECT_TRUE(texts(*ann).empty());
    send(*ann, "Hi Bob, where are you?");
    EXPECT_EQ(texts(*ann), std::vector<std::string>{"<< Hi Bob, where are you?"});

    openChatWith(*bob, "Ann");
    EXPECT_EQ(texts(*bob), std::vector<std::string>{">> Hi Bob, where are you?"});
    send(*bob, "At the station");
    EXPECT_EQ(texts(*bob), (std::vector<std::string>{"<< At the station", ">> Hi Bob, where are you?"}));

    // Ann's chat is open: the push about Bob's message reloads it.
    ASSERT_TRUE(HeadlessApp::runUntil(apps, [&] { return texts(*ann).size() == 2; }));
    EXPECT_EQ(texts(*ann), (std::vector<std::string>{">> At the station", "<< Hi Bob, where are you?"}));
    EXPECT_EQ(ann->inside([&] { return ann->driver().frontmost()->title(); }), "Bob");
    EXPECT_FALSE(ann->inside([&] { return ann->driver().alert() != nullptr; }));
}

INSTANTIATE_TEST_SUITE_P(Engines, ContactsChat, ::testing::Values("sqlite"), server::testing::engineName);

}  // namespace
}  // namespace kelpa::e2e
