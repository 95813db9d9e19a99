#pragma once

#include "platform/contacts/AddressBookPerson.h"

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kelpa::platform {

class AddressBookSource;

// A handle on the device's address book, as a screen opens one to read it.
class AddressBook : public std::enable_shared_from_this<AddressBook> {
public:
    using AccessCompletion = std::function<void(bool granted, std::optional<std::string> error)>;

    static constexpr const char* kNoBookText = "no address book is configured";

    // The book of the environment in force (none when the installation has none).
    static std::shared_ptr<AddressBook> create();
    explicit AddressBook(std::shared_ptr<AddressBookSource> source);

    // The answer arrives on a background thread, as it may on a phone; granted is false when
    // the person refused or when there is no book, and only the latter comes with an error.
    void requestAccessWithCompletion(AccessCompletion completion);
    // Every person in book order; empty when access is refused or the book cannot be read
    // (the reason is logged once per handle). Blocks; call it off the main queue.
    std::vector<AddressBookPerson> copyArrayOfAllPeople() const;

private:
    void logOnce(const std::string& line) const;

    const std::shared_ptr<AddressBookSource> source_;
    mutable std::atomic<bool> logged_{false};
};

}  // namespace kelpa::platform
