#pragma once

#include <chrono>
#include <deque>
#include <mutex>
#include <string>
#include <unordered_map>

namespace kelpa::server {

// Counts events per key in a sliding window; used to slow down guessing (failed sign-ins,
// wrong device bindings, wrong secret words). Kept in memory: a restart forgets it.
class RateLimiter {
public:
    RateLimiter(std::size_t maxEvents, std::chrono::seconds window);

    bool limited(const std::string& key);
    void record(const std::string& key);

private:
    void prune(std::deque<std::chrono::steady_clock::time_point>& events,
               std::chrono::steady_clock::time_point now) const;

    std::size_t maxEvents_;
    std::chrono::seconds window_;
    std::mutex mutex_;
    std::unordered_map<std::string, std::deque<std::chrono::steady_clock::time_point>> events_;
};

}  // namespace kelpa::server
