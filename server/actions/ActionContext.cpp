#include "server/actions/ActionContext.h"

#include "server/actions/Refusal.h"
#include "server/WallClock.h"

namespace kelpa::server {

ActionContext::ActionContext(Store& store, Services& services, const Request& request,
                             const std::string& deviceKey)
    : store_(store), services_(services), request_(request), deviceKey_(deviceKey),
      now_(WallClock::now()) {}

void ActionContext::throttleDevice() {
    if (services_.authFailures.limited(store_, deviceKey_, now_))
        throw Refusal(ActionContext::kTooManyFailures);
}

bool ActionContext::deviceBoundTo(std::int64_t user) {
    return store_.checkBinding(user, deviceKey_, std::string(), now_).device.has_value();
}

void ActionContext::countPerAddress(const FailureThrottle& throttle, const char* refusal) {
    if (throttle.exhausted(store_, request_.clientAddress(), now_)) throw Refusal(refusal);
}

std::int64_t ActionContext::signedInUser(int refusalCode) {
    const auto& throttle = services_.authFailures;
    const auto failureKey = throttle.key(deviceKey_);
    const auto user = request_.userId();
    const auto check = store_.checkBinding(user.value_or(0), deviceKey_, failureKey, throttle.windowStart(now_));
    if (throttle.exceeded(check.recentFailures)) throw Refusal(ActionContext::kTooManyFailures);
    if (!user || !check.device) {
        throw Refusal(refusalCode == 2 ? "No such user" : "Not signed in on this device", refusalCode,
                      {failureKey});
    }
    device_ = check.device;
    return *user;
}

std::int64_t ActionContext::device() {
    if (!device_) device_ = store_.ensureDevice(deviceKey_);
    return *device_;
}

void ActionContext::bindTo(std::int64_t user) {
    store_.bindDevice(user, device(), now_, services_.limits.maxDevicesPerUser);
}

MemberRow ActionContext::requireMember(std::int64_t group, std::int64_t user) {
    auto member = store_.member(group, user);
    if (!member) throw Refusal("Not a member of this group");
    return *member;
}

void ActionContext::push(const std::vector<std::int64_t>& users, const nlohmann::json& payload) {
    if (users.empty()) return;
    store_.publishPush(store_.pushDevicesOf(users), payload.dump());
}

}  // namespace kelpa::server
