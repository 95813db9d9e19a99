#pragma once

#include <string>
#include <vector>

namespace kelpa::platform {

// One person of the address book with their phone numbers in book order.
struct AddressBookPerson {
    std::string name;
    std::vector<std::string> phoneNumbers;

    bool operator==(const AddressBookPerson&) const = default;
};

}  // namespace kelpa::platform
