#include "platform/contacts/VCardAddressBook.h"

#include "platform/contacts/VCardReader.h"

namespace kelpa::platform {

VCardAddressBook::VCardAddressBook(std::filesystem::path file, bool granted)
    : file_(std::move(file)), granted_(granted) {}

std::variant<std::vector<AddressBookPerson>, std::string> VCardAddressBook::people() const {
    return VCardReader::readFile(file_);
}

}  // namespace kelpa::platform
