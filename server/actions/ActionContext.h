#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "server/http/Request.h"
#include "server/Services.h"
#include "server/store/Store.h"

namespace kelpa::server {

// What a database stage of an action works with: the store inside the open transaction,
// the checked request and the shared services.
class ActionContext {
public:
    ActionContext(Store& store, Services& services, const Request& request,
                  const std::string& deviceKey);

    Store& store() { return store_; }
    Services& services() { return services_; }
    const Request& request() const { return request_; }
    const std::string& deviceKey() const { return deviceKey_; }
    std::int64_t now() const { return now_; }

    // The requesting user, after checking that this device is bound to that user. An
    // unknown user and a wrong binding are refused alike; repeated failures are throttled.
    std::int64_t signedInUser(int refusalCode = 1);
    // The device row of this request (after signedInUser, or created on demand).
    std::int64_t device();
    // Binds this device to the user (sign-in and registration).
    void bindTo(std::int64_t user);
    // Refuses unless the user is a member of the group; returns that membership.
    MemberRow requireMember(std::int64_t group, std::int64_t user);
    // Push payload to every device whose current user is among the users.
    void push(const std::vector<std::int64_t>& users, const nlohmann::json& payload);
    void throttleDevice();
    // Whether this request's device is bound to the user (without counting a failure).
    bool deviceBoundTo(std::int64_t user);
    // Refuses with the text when the client's address used up its attempts of this kind;
    // otherwise counts this attempt.
    void countPerAddress(const FailureThrottle& throttle, const char* refusal);
    static constexpr const char* kTooManyFailures = "Too many failed attempts, try again later";

private:
    Store& store_;
    Services& services_;
    const Request& request_;
    const std::string& deviceKey_;
    std::int64_t now_;
    std::optional<std::int64_t> device_;
};

}  // namespace kelpa::server
