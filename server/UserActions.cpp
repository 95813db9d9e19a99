#include "server/UserActions.h"

#include "server/ActionContext.h"
#include "server/Dispatcher.h"
#include "server/PhoneNumber.h"
#include "server/RecordJson.h"
#include "server/Refusal.h"
#include "server/Replies.h"

namespace kelpa::server {
namespace {

constexpr std::int64_t kMaxListedUsers = 500;
constexpr std::size_t kMaxSmsBody = 320;

std::string phone(const Request& r, const std::string& field) {
    const auto number = PhoneNumber::parse(r.text(field, PhoneNumber::kMaxLength));
    if (!number) throw Refusal("Malformed field " + field);
    return *number;
}

Step updateDisplayName(ActionContext& c) {
    const auto me = c.signedInUser();
    c.store().setDisplayName(me, c.request().text("displayName", 64));
    return Replies::ok();
}

Step allUsers(ActionContext& c) {
    const auto me = c.signedInUser();
    auto list = nlohmann::json::array();
    for (const auto& u : c.store().users(kMaxListedUsers)) list.push_back(RecordJson::user(u, u.id == me));
    return Step::reply(std::move(list));
}

Step sendSms(ActionContext& c) {
    const auto me = c.signedInUser();
    const auto body = c.request().text("body", kMaxSmsBody);
    const auto target = phone(c.request(), "target");
    const auto& limits = c.services().limits;
    const auto hourAgo = c.now() - 3600;
    if (c.store().smsCountByUser(me, hourAgo) >= limits.smsPerUserPerHour ||
        c.store().smsCountByTarget(target, hourAgo) >= limits.smsPerNumberPerHour)
        throw Refusal("Too many text messages, try again later");
    const auto attempt = c.store().logSms(me, target, c.now());
    return Step::offload([target, body, attempt, &sms = c.services().sms] {
        if (sms.send(target, body)) return Replies::ok();
        return Step::inDb([attempt](ActionContext& c) {
            c.store().forgetSms(attempt);
            return Step::reply(Replies::failure(1, "Sending the text message failed"));
        });
    });
}

Step updatePhoneNumber(ActionContext& c) {
    const auto me = c.signedInUser();
    const auto number = phone(c.request(), "phoneNumber");
    if (!c.store().smsSent(me, number, c.now() - c.services().limits.phoneCodeValidSeconds))
        throw Refusal("This number has not been sent a code in the last 15 minutes");
    c.store().setPhoneNumber(me, number);
    return Replies::ok();
}

Step updateRegistrationCompleted(ActionContext& c) {
    const auto me = c.signedInUser();
    c.store().setRegistrationCompleted(me, c.request().integer("toUserID", 0, 1) == 1);
    return Replies::ok();
}

Step loadUser(ActionContext& c) {
    const auto me = c.signedInUser();
    const auto user = c.store().user(c.request().id("loadID"));
    if (!user) throw Refusal("No such user");
    return Step::reply(RecordJson::user(*user, user->id == me));
}

}  // namespace

void UserActions::install(Dispatcher& d) {
    d.add(103, updateDisplayName);
    d.add(107, allUsers);
    d.add(110, sendSms);
    d.add(112, updatePhoneNumber);
    d.add(113, updateRegistrationCompleted);
    d.add(114, loadUser);
}

}  // namespace kelpa::server
