#pragma once

#include "platform/contacts/AddressBookPerson.h"

#include <ostream>

namespace kelpa::platform {

// Readable people in test failures.
inline void PrintTo(const AddressBookPerson& person, std::ostream* os) {
    *os << "{\"" << person.name << "\":";
    for (const auto& number : person.phoneNumbers) *os << " \"" << number << "\"";
    *os << "}";
}

}  // namespace kelpa::platform
