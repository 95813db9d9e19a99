// The real app's contacts tab against the real service: the contact list built from an address
// book file, adding a contact by identifier (refused for oneself), and a chat with a second
// user played by kelpactl, the open chat reloading when the push about a new message arrives.
#include "AppAgainstService.h"

#include <filesystem>
#include <fstream>

namespace kelpa::testing {
namespace {

namespace fs = std::filesystem;
using e2e::KelpactlRun;

class ContactScreensTest : public AppAgainstService {};

TEST_F(ContactScreensTest, AddressBookContactsAddingAContactAndAChatReloadedByThePush) {
    KelpactlRun me(root / "installation", serviceURL);
    KelpactlRun ann(fs::path(database.directory()) / "ann", serviceURL);
    KelpactlRun ben(fs::path(database.directory()) / "ben", serviceURL);
    const auto myID = signUp(me, "me@example.org", "Mia", "+49 170 5550101", "1705550101");
    const auto annID = signUp(ann, "ann@example.org", "Ann", "+49 170 5550102", "1705550102");
    const auto benID = signUp(ben, "ben@example.org", "Ben", "+49 170 5550103", "1705550103");
    ASSERT_FALSE(annID.empty());
    ASSERT_FALSE(benID.empty());

    // Mia's book: Ann under a national number, Mia herself, and someone not on Kelpa.
    const auto book = root / "book.vcf";
    std::ofstream(book) << "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ann Berg\r\nTEL;TYPE=CELL:0170 5550102\r\nEND:VCARD\r\n"
                        << "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Me\r\nTEL:+49 170 5550101\r\nEND:VCARD\r\n"
                        << "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Otto\r\nTEL:+49 89 1234567\r\nEND:VCARD\r\n";

    app.start({"--service", serviceURL, "--screenshot-dir", shots.string(), "--address-book", book.string()},
              appEnvironment("http://127.0.0.1:9/{z}/{x}/{y}.png", "http://127.0.0.1:9"));
    run("wait-screen MapViewController 30");
    run("tab 2");
    run("wait-screen ContactsTableViewController");
    run("wait-rows contactsTableView 1 30");
    EXPECT_EQ(run("rows contactsTableView"), "Ann");
    screenshot("60-contacts");

    // Adding: oneself is refused with "!!!", Ben by his identifier goes back to the list.
    run("tap addContactButton");
    run("wait-screen AddContactViewController");
    run("wait-rows availableUsersTableView 3 30");
    EXPECT_NE(run("rows availableUsersTableView").find(benID + " - Ben"), std::string::npos);
    run("type contactID " + myID);
    run("tap addButton");
    run("wait-alert 30");
    EXPECT_EQ(run("alert").rfind("!!!", 0), 0u) << run("alert");
    screenshot("61-add-contact-refused");
    run("choose OK");
    run("type contactID " + benID);
    screenshot("62-add-contact");
    run("tap addButton");
    run("wait-screen ContactsTableViewController 30");
    const auto contacts = ctl(me, {"contacts"});
    EXPECT_NE(contacts.dump().find("\"Ben\""), std::string::npos) << contacts.dump();

    // A chat with Ann: her message is there, Mia's own shows at once, Ann's answer comes by push.
    ctl(ann, {"chat", myID, "--send", "Hi Mia, where are you?"});
    run("tap-row contactsTableView 0");
    run("wait-screen ChatViewController 30");
    run("wait-rows chatTableView 1 30");
    EXPECT_EQ(run("rows chatTableView").rfind(">> Hi Mia, where are you?", 0), 0u) << run("rows chatTableView");
    run("type textToSend On my way");
    run("tap sendButton");
    EXPECT_EQ(run("rows chatTableView").rfind("<< On my way", 0), 0u) << run("rows chatTableView");
    EXPECT_EQ(run("text textToSend"), "");
    ctl(ann, {"chat", myID, "--send", "See you at the station!"});
    run("wait-rows chatTableView 3 30");
    EXPECT_EQ(run("rows chatTableView").rfind(">> See you at the station!", 0), 0u) << run("rows chatTableView");
    run("tap-outside");
    screenshot("63-chat");
    const auto seen = ctl(ann, {"chat", myID});
    EXPECT_NE(seen.dump().find("On my way"), std::string::npos) << seen.dump();

    quitCleanly();
}

}  // namespace
}  // namespace kelpa::testing
