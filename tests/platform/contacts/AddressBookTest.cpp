#include "platform/contacts/AddressBook.h"
#include "platform/contacts/VCardAddressBook.h"

#include "PrintPerson.h"
#include "TestEnvironment.h"

#include "platform/Environment.h"

#include <gtest/gtest.h>

#include <fstream>
#include <thread>

namespace kelpa::platform {
namespace {

using People = std::vector<AddressBookPerson>;

struct Answer {
    bool granted = false;
    std::optional<std::string> error;
    std::thread::id thread;
};

class AddressBookTest : public ::testing::Test {
protected:
    std::filesystem::path writeBook(const std::string& text) {
        const auto file = t.home() / "book.vcf";
        std::ofstream(file) << text;
        return file;
    }
    Answer requestAccess(AddressBook& book) {
        auto answer = std::make_shared<std::optional<Answer>>();
        book.requestAccessWithCompletion([answer, this](bool granted, std::optional<std::string> error) {
            // Handed to the main queue the way the contacts screen does it.
            Answer a{granted, std::move(error), std::this_thread::get_id()};
            t.env().mainQueue->post([answer, a] { *answer = a; });
        });
        t.loop().runUntilIdle();
        EXPECT_TRUE(answer->has_value());
        return answer->value_or(Answer{});
    }

    kelpa::testing::TestEnvironment t;
};

TEST_F(AddressBookTest, GrantedBookGivesItsPeopleInOrder) {
    t.env().addressBook = std::make_shared<VCardAddressBook>(writeBook(
        "BEGIN:VCARD\nFN:Anna\nTEL:+49 1\nTEL:+49 2\nEND:VCARD\nBEGIN:VCARD\nFN:Ben\nEND:VCARD\n"));
    auto book = AddressBook::create();
    const auto answer = requestAccess(*book);
    EXPECT_TRUE(answer.granted);
    EXPECT_EQ(answer.error, std::nullopt);
    EXPECT_NE(answer.thread, std::this_thread::get_id());  // the answer comes off the main queue
    EXPECT_EQ(book->copyArrayOfAllPeople(), (People{{"Anna", {"+49 1", "+49 2"}}, {"Ben", {}}}));
    EXPECT_TRUE(t.logLines().empty());
}

TEST_F(AddressBookTest, RefusedMissingOrUnreadableBooksGiveNobody) {
    struct Case {
        const char* what;
        std::shared_ptr<AddressBookSource> source;
        bool granted;
        std::optional<std::string> error;
        std::string logLine;
    };
    const auto unreadable = t.home() / "nowhere.vcf";
    for (const auto& c : {
             Case{"refused", std::make_shared<VCardAddressBook>(writeBook("BEGIN:VCARD\nFN:A\nEND:VCARD\n"), false),
                  false, std::nullopt, "address book: access was not granted"},
             Case{"none configured", nullptr, false, "no address book is configured",
                  "address book: no address book is configured"},
             Case{"unreadable", std::make_shared<VCardAddressBook>(unreadable), true, std::nullopt,
                  "address book: cannot read address book " + unreadable.string() + ": No such file or directory"},
         }) {
        SCOPED_TRACE(c.what);
        kelpa::testing::TestEnvironment fresh;
        fresh.env().addressBook = c.source;
        auto book = AddressBook::create();
        auto answer = std::make_shared<std::optional<std::pair<bool, std::optional<std::string>>>>();
        book->requestAccessWithCompletion([answer, &fresh](bool granted, std::optional<std::string> error) {
            fresh.env().mainQueue->post([=] { *answer = std::make_pair(granted, error); });
        });
        fresh.loop().runUntilIdle();
        ASSERT_TRUE(answer->has_value());
        EXPECT_EQ((*answer)->first, c.granted);
        EXPECT_EQ((*answer)->second, c.error);
        EXPECT_TRUE(book->copyArrayOfAllPeople().empty());
        EXPECT_TRUE(book->copyArrayOfAllPeople().empty());
        EXPECT_EQ(fresh.logLines(), std::vector<std::string>{c.logLine});  // once per handle
    }
}

TEST_F(AddressBookTest, ReadsTheFileAnewForEachHandle) {
    const auto file = writeBook("BEGIN:VCARD\nFN:Anna\nEND:VCARD\n");
    t.env().addressBook = std::make_shared<VCardAddressBook>(file);
    EXPECT_EQ(AddressBook::create()->copyArrayOfAllPeople().size(), 1u);
    std::ofstream(file, std::ios::app) << "BEGIN:VCARD\nFN:Ben\nEND:VCARD\n";
    EXPECT_EQ(AddressBook::create()->copyArrayOfAllPeople().size(), 2u);
}

}  // namespace
}  // namespace kelpa::platform
