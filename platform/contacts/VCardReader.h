#pragma once

#include "platform/contacts/AddressBookPerson.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kelpa::platform {

// Reads the people of a vCard 3.0/4.0 file: each card's FN (N when there is no FN) and
// every TEL in file order. Folded lines are unfolded, group prefixes and parameters are
// understood, property names are case-insensitive, and properties the book does not use
// are skipped. An error names the line it is about.
class VCardReader {
public:
    using Result = std::variant<std::vector<AddressBookPerson>, std::string>;

    static Result parse(std::string_view text);
    // Errors start "cannot read address book <file>: ".
    static Result readFile(const std::filesystem::path& file);
};

}  // namespace kelpa::platform
