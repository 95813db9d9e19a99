#include "server/actions/ContactActions.h"

#include <set>

#include "server/actions/ActionContext.h"
#include "server/actions/Dispatcher.h"
#include "server/phone/PhoneNumber.h"
#include "server/actions/RecordJson.h"
#include "server/actions/Refusal.h"
#include "server/actions/Replies.h"

namespace kelpa::server {
namespace {

constexpr std::size_t kMaxNumbers = 500;
constexpr std::size_t kMaxMessage = 1000;
constexpr std::int64_t kConversationLength = 200;

nlohmann::json userList(const std::vector<UserRow>& users) {
    auto list = nlohmann::json::array();
    for (const auto& u : users) list.push_back(RecordJson::user(u, false));
    return list;
}

std::int64_t otherUser(ActionContext& c, std::int64_t me, const std::string& field,
                       const char* selfRefusal) {
    const auto other = c.request().id(field);
    if (other == me) throw Refusal(selfRefusal);
    if (!c.store().user(other)) throw Refusal("No such user");
    return other;
}

Step matchAddressBook(ActionContext& c) {
    const auto me = c.signedInUser();
    const auto numbers = c.request().text("Numbers", kMaxNumbers * (PhoneNumber::kMaxLength + 1), true);
    constexpr const char* kTooMany = "Too many address-book matches, try again later";
    if (c.services().matchesByUser.exhausted(c.store(), std::to_string(me), c.now())) throw Refusal(kTooMany);
    c.countPerAddress(c.services().matchesByAddress, kTooMany);
    std::set<std::string> wanted;
    for (std::size_t start = 0; start <= numbers.size();) {
        auto end = numbers.find(',', start);
        if (end == std::string::npos) end = numbers.size();
        // Address books hold odd entries; skip what is not a number rather than refuse all.
        if (auto n = PhoneNumber::parse(std::string_view(numbers).substr(start, end - start))) wanted.insert(*n);
        if (wanted.size() > kMaxNumbers) throw Refusal("Too many numbers");
        start = end + 1;
    }
    std::vector<UserRow> found;
    for (const auto& n : wanted) {
        for (auto& u : c.store().usersByPhone(n)) {
            if (u.id == me) continue;
            c.store().addContact(me, u.id);
            found.push_back(std::move(u));
        }
    }
    return Step::reply(userList(found));
}

Step addContact(ActionContext& c) {
    const auto me = c.signedInUser();
    c.store().addContact(me, otherUser(c, me, "contactID", "Cannot add self"));
    return Replies::ok();
}

Step contacts(ActionContext& c) {
    const auto me = c.signedInUser();
    return Step::reply({{"Contacts", userList(c.store().contacts(me))}});
}

Step removeContact(ActionContext& c) {
    const auto me = c.signedInUser();
    const auto other = c.request().id("contactID");
    if (other == me) throw Refusal("cannot delete self");
    c.store().removeContact(me, other);
    return Replies::ok();
}

Step sendMessage(ActionContext& c) {
    const auto me = c.signedInUser();
    const auto text = c.request().text("text", kMaxMessage);
    const auto to = otherUser(c, me, "toUserID", "Cannot send a message to self");
    // Only people who know each other chat: a contact either way, or a shared group.
    if (!c.store().acquainted(me, to)) throw Refusal("Not one of your contacts");
    c.store().addMessage(me, to, text, c.now());
    c.push({to}, {{"acme-action", 601}});
    return Replies::ok();
}

Step conversation(ActionContext& c) {
    const auto me = c.signedInUser();
    const auto other = c.request().id("toUserID");
    auto list = nlohmann::json::array();
    for (const auto& m : c.store().conversation(me, other, kConversationLength))
        list.push_back(RecordJson::message(m));
    return Step::reply(std::move(list));
}

}  // namespace

void ContactActions::install(Dispatcher& d) {
    d.add(111, matchAddressBook);
    d.add(500, addContact);
    d.add(501, contacts);
    d.add(502, removeContact);
    d.add(600, sendMessage);
    d.add(601, conversation);
}

}  // namespace kelpa::server
