#include "server/RateLimiter.h"

namespace kelpa::server {

RateLimiter::RateLimiter(std::size_t maxEvents, std::chrono::seconds window)
    : maxEvents_(maxEvents), window_(window) {}

void RateLimiter::prune(std::deque<std::chrono::steady_clock::time_point>& events,
                        std::chrono::steady_clock::time_point now) const {
    while (!events.empty() && now - events.front() > window_) events.pop_front();
}

bool RateLimiter::limited(const std::string& key) {
    std::lock_guard lock(mutex_);
    const auto it = events_.find(key);
    if (it == events_.end()) return false;
    prune(it->second, std::chrono::steady_clock::now());
    if (it->second.empty()) {
        events_.erase(it);
        return false;
    }
    return it->second.size() >= maxEvents_;
}

void RateLimiter::record(const std::string& key) {
    std::lock_guard lock(mutex_);
    // Bounded memory under a flood of distinct keys: forget everyone rather than grow.
    if (events_.size() > 100000) events_.clear();
    auto& events = events_[key];
    const auto now = std::chrono::steady_clock::now();
    prune(events, now);
    events.push_back(now);
}

}  // namespace kelpa::server
