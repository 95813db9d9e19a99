// The signed-in user's contacts: load with the cached-list rule, add, remove, and the match
// against the address book.
#include "client/model/ModelRequest.h"
#include "client/model/User.h"
#include "platform/Async.h"

namespace kelpa {

namespace {
bool isCurrentUser(const std::optional<std::string>& userID) {
    auto currentID = ModelRequest::currentUserID();
    return userID && currentID && *userID == *currentID;
}

// Contact additions and removals end the same way: on success the list is fetched anew, then
// the caller hears the outcome.
void changeContacts(std::shared_ptr<User> self, const char* label, Parameters parameters, StatusHandler handler) {
    ModelRequest::status(
        label, std::move(parameters),
        [self] { self->getContactsWithCompletitionHandler([](auto, auto) {}, true); }, std::move(handler));
}
}  // namespace

void User::addContact(const std::string& contactID, StatusHandler handler) {
    if (isCurrentUser(contactID)) {
        if (handler) handler(1, std::string("Cannot add self"));
        return;
    }
    changeContacts(shared_from_this(), "addContact", Parameters(Action::addContact).add("contactID", contactID),
                   std::move(handler));
}

void User::removeContact(std::shared_ptr<User> contact, StatusHandler handler) {
    std::optional<std::string> contactID = contact ? contact->userID : std::nullopt;
    if (isCurrentUser(contactID)) {
        if (handler) handler(1, std::string("cannot delete self"));
        return;
    }
    changeContacts(shared_from_this(), "removeContatct",
                   Parameters(Action::removeContact).add("contactID", contactID.value_or("")), std::move(handler));
}

void User::getContactsWithCompletitionHandler(ListHandler<User> handler) {
    getContactsWithCompletitionHandler(std::move(handler), false);
}

void User::getContactsWithCompletitionHandler(ListHandler<User> handler, bool withReloading) {
    ModelRequest::cachedList(shared_from_this(), &User::contacts, "getContacts", Parameters(Action::getContacts),
                             "Contacts", withReloading, std::move(handler));
}

void User::getContactsUsingKelpaFromOwnAdressbook(const std::string& numbers, ListHandler<User> handler) {
    auto userID = ModelRequest::currentUserID();
    platform::runInBackground(
        "getContactsUsingKelpa",
        [numbers, userID] {
            return ModelRequest::records<User>(
                API::requestWithDictionary(Parameters(Action::getContactsUsingKelpa).add("Numbers", numbers), userID));
        },
        [self = shared_from_this(), handler](std::optional<RecordList<User>> matched) {
            if (!matched) {
                if (handler) handler(std::nullopt, std::string("no contacts found"));
                return;
            }
            self->contacts = std::move(matched);
            if (handler) handler(self->contacts, std::nullopt);
        });
}

}  // namespace kelpa
