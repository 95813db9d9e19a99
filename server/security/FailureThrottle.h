#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kelpa::server {

class Store;

// Slows down guessing (sign-in failures, wrong device bindings, wrong secret words): a
// subject with too many recent failures of one kind is refused for a while. The failures are
// kept in the database, so a restart forgets nothing and every server process of a cluster
// counts the same failures.
class FailureThrottle {
public:
    FailureThrottle(std::string kind, std::int64_t maxFailures, std::int64_t windowSeconds);

    // The key under which a subject's failures of this kind are counted.
    std::string key(std::string_view subject) const;
    // Locks the subject's key for the rest of the transaction, then counts.
    bool limited(Store& store, std::string_view subject, std::int64_t now) const;
    // Checks and counts one attempt in the same transaction: true when the subject is over
    // the limit (nothing is counted then). A burst of concurrent attempts gets no more than
    // the limit. The returned record, when wanted, can be forgotten again on success.
    bool exhausted(Store& store, std::string_view subject, std::int64_t now,
                   std::int64_t* record = nullptr) const;
    // For a count made elsewhere: the start of the window, and whether the count reaches the limit.
    std::int64_t windowStart(std::int64_t now) const { return now - windowSeconds_; }
    bool exceeded(std::int64_t recentFailures) const { return recentFailures >= maxFailures_; }

    // Failures are forgotten after a day, whatever their kind.
    static constexpr std::int64_t kMemorySeconds = 24 * 3600;
    static std::int64_t record(Store& store, const std::string& key, std::int64_t now);

private:
    std::string kind_;
    std::int64_t maxFailures_;
    std::int64_t windowSeconds_;
};

}  // namespace kelpa::server
