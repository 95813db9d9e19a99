#pragma once

#include "platform/contacts/AddressBookSource.h"

#include <filesystem>

namespace kelpa::platform {

// An address book kept as one vCard 3.0/4.0 file, read anew at every call so that edits to
// the file show at the next look.
class VCardAddressBook : public AddressBookSource {
public:
    explicit VCardAddressBook(std::filesystem::path file, bool granted = true);

    bool accessGranted() const override { return granted_; }
    std::variant<std::vector<AddressBookPerson>, std::string> people() const override;
    const std::filesystem::path& file() const { return file_; }

private:
    const std::filesystem::path file_;
    const bool granted_;
};

}  // namespace kelpa::platform
