#include "server/security/FailureThrottle.h"

#include "server/store/Store.h"

namespace kelpa::server {

FailureThrottle::FailureThrottle(std::string kind, std::int64_t maxFailures, std::int64_t windowSeconds)
    : kind_(std::move(kind)), maxFailures_(maxFailures), windowSeconds_(windowSeconds) {}

std::string FailureThrottle::key(std::string_view subject) const {
    return kind_ + ":" + std::string(subject);
}

bool FailureThrottle::limited(Store& store, std::string_view subject, std::int64_t now) const {
    const auto k = key(subject);
    store.lockKey(k);
    return exceeded(store.failuresSince(k, windowStart(now)));
}

bool FailureThrottle::exhausted(Store& store, std::string_view subject, std::int64_t now, std::int64_t* record) const {
    if (limited(store, subject, now)) return true;
    const auto id = FailureThrottle::record(store, key(subject), now);
    if (record) *record = id;
    return false;
}

std::int64_t FailureThrottle::record(Store& store, const std::string& key, std::int64_t now) {
    return store.recordFailure(key, now, now - kMemorySeconds);
}

}  // namespace kelpa::server
