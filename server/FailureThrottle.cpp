#include "server/FailureThrottle.h"

#include "server/Store.h"

namespace kelpa::server {

FailureThrottle::FailureThrottle(std::string kind, std::int64_t maxFailures, std::int64_t windowSeconds)
    : kind_(std::move(kind)), maxFailures_(maxFailures), windowSeconds_(windowSeconds) {}

std::string FailureThrottle::key(std::string_view subject) const {
    return kind_ + ":" + std::string(subject);
}

bool FailureThrottle::limited(Store& store, std::string_view subject, std::int64_t now) const {
    return exceeded(store.failuresSince(key(subject), windowStart(now)));
}

void FailureThrottle::record(Store& store, const std::string& key, std::int64_t now) {
    store.recordFailure(key, now, now - kMemorySeconds);
}

}  // namespace kelpa::server
