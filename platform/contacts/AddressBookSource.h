#pragma once

#include "platform/contacts/AddressBookPerson.h"

#include <string>
#include <variant>
#include <vector>

namespace kelpa::platform {

// The device's address book as the platform gives it. Safe to call from any thread.
class AddressBookSource {
public:
    virtual ~AddressBookSource() = default;
    // Whether the person allowed the app to read the book.
    virtual bool accessGranted() const = 0;
    // The whole book in book order, or why it cannot be read (e.g. "cannot read address book
    // /x.vcf: ..."). Blocks.
    virtual std::variant<std::vector<AddressBookPerson>, std::string> people() const = 0;
};

}  // namespace kelpa::platform
