#include "platform/contacts/AddressBook.h"

#include "platform/DispatchQueue.h"
#include "platform/Environment.h"
#include "platform/Log.h"
#include "platform/contacts/AddressBookSource.h"

namespace kelpa::platform {

std::shared_ptr<AddressBook> AddressBook::create() {
    return std::make_shared<AddressBook>(Environment::current()->addressBook);
}

AddressBook::AddressBook(std::shared_ptr<AddressBookSource> source) : source_(std::move(source)) {}

void AddressBook::requestAccessWithCompletion(AccessCompletion completion) {
    if (!completion) return;
    DispatchQueue::create("AddressBookAccess")->async([self = shared_from_this(), completion = std::move(completion)] {
        if (!self->source_) return completion(false, std::string(kNoBookText));
        completion(self->source_->accessGranted(), std::nullopt);
    });
}

std::vector<AddressBookPerson> AddressBook::copyArrayOfAllPeople() const {
    if (!source_) {
        logOnce(std::string("address book: ") + kNoBookText);
        return {};
    }
    if (!source_->accessGranted()) {
        logOnce("address book: access was not granted");
        return {};
    }
    auto people = source_->people();
    if (auto* error = std::get_if<std::string>(&people)) {
        logOnce("address book: " + *error);
        return {};
    }
    return std::get<std::vector<AddressBookPerson>>(std::move(people));
}

void AddressBook::logOnce(const std::string& line) const {
    if (!logged_.exchange(true)) log(line);
}

}  // namespace kelpa::platform
