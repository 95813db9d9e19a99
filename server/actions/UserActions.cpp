#include "server/actions/UserActions.h"

#include "server/actions/ActionContext.h"
#include "server/actions/Dispatcher.h"
#include "server/phone/PhoneNumber.h"
#include "server/phone/VerificationCode.h"
#include "server/actions/RecordJson.h"
#include "server/actions/Refusal.h"
#include "server/actions/Replies.h"

namespace kelpa::server {
namespace {

constexpr std::int64_t kMaxListedUsers = 500;

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

// The client's own code text is all the body may be; the message itself is the service's.
std::string verificationCode(const Request& r, const std::string& field) {
    const auto code = VerificationCode::parse(r.text(field, 320));
    if (!code) throw Refusal("Field " + field + " must be the four-digit code");
    return *code;
}

Step sendSms(ActionContext& c) {
    const auto me = c.signedInUser();
    const auto code = verificationCode(c.request(), "body");
    const auto target = phone(c.request(), "target");
    const auto& limits = c.services().limits;
    const auto hourAgo = c.now() - 3600;
    if (c.store().smsCountByUser(me, hourAgo) >= limits.smsPerUserPerHour ||
        c.store().smsCountByTarget(target, hourAgo) >= limits.smsPerNumberPerHour)
        throw Refusal("Too many text messages, try again later");
    c.countPerAddress(c.services().smsByAddress, "Too many text messages, try again later");
    const auto attempt = c.store().logSms(me, target, c.now());
    // Only the latest code texted to a number counts.
    c.store().savePhoneCode(me, target, VerificationCode::hash(c.services().deviceKeys, me, target, code), c.now());
    return Step::offload([me, target, code, attempt, &sms = c.services().sms] {
        if (sms.send(target, VerificationCode::message(code))) return Replies::ok();
        return Step::inDb([me, target, attempt](ActionContext& c) {
            c.store().forgetSms(attempt);
            c.store().forgetPhoneCode(me, target);
            return Step::reply(Replies::failure(1, "Sending the text message failed"));
        });
    });
}

Step updatePhoneNumber(ActionContext& c) {
    const auto me = c.signedInUser();
    const auto number = phone(c.request(), "phoneNumber");
    const auto code = verificationCode(c.request(), "code");
    const auto& keys = c.services().deviceKeys;
    const auto expected = c.store().tryPhoneCode(me, number, c.now() - c.services().limits.phoneCodeValidSeconds,
                                                 VerificationCode::kMaxTries);
    if (!expected) throw Refusal("This number has no valid code, ask for a new one");
    // A wrong code is answered, not thrown: the try it used must be committed.
    if (!VerificationCode::matches(keys, me, number, code, *expected))
        return Step::reply(Replies::failure(1, "The code is not the one sent to this number"));
    c.store().forgetPhoneCode(me, number);
    c.store().setVerifiedPhoneNumber(me, number);
    return Replies::ok();
}

Step updateRegistrationCompleted(ActionContext& c) {
    const auto me = c.signedInUser();
    const bool completed = c.request().integer("toUserID", 0, 1) == 1;
    if (completed && !c.store().hasVerifiedPhone(me)) throw Refusal("Verify a phone number first");
    c.store().setRegistrationCompleted(me, completed);
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
