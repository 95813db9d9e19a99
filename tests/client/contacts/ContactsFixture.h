#pragma once

#include "MembersFixture.h"

#include "platform/contacts/VCardAddressBook.h"

#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace kelpa::testing {

// Ann (5, number +4917012345) signed in with the storyboard "Main", and an address book kept
// as a vCard file in the test's home.
struct ContactsFixture : GroupsFixture {
    using Person = std::pair<std::string, std::vector<std::string>>;

    // Writes the book; `granted` is whether the person let the app read it.
    void book(const std::vector<Person>& people, bool granted = true) {
        const auto file = app.t.home() / "book.vcf";
        std::ofstream out(file);
        for (const auto& [name, numbers] : people) {
            out << "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:" << name << "\r\n";
            for (const auto& number : numbers) out << "TEL;TYPE=CELL:" << number << "\r\n";
            out << "END:VCARD\r\n";
        }
        app.t.env().addressBook = std::make_shared<platform::VCardAddressBook>(file, granted);
    }

    // Users as the service lists them for action 111 or 107.
    static json users(const std::vector<std::pair<std::string, std::string>>& idsAndNames) {
        json list = json::array();
        for (const auto& [id, name] : idsAndNames) list.push_back(AppFixture::userJSON(id, name));
        return list;
    }
    static json message(const std::string& id, const std::string& from, const std::string& to, const std::string& text,
                        const std::string& sent = "2026-03-02T08:00:00") {
        return {{"messageID", id}, {"text", text}, {"fromUserID", from}, {"toUserID", to}, {"sent", sent}};
    }

    std::optional<std::string> numbersSent(size_t index = 0) { return app.field(111, "Numbers", index); }
};

}  // namespace kelpa::testing
