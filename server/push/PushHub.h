#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "server/push/PushTarget.h"

namespace kelpa::server {

// The push connections open in this process, by device. Notifications name their devices;
// each process delivers to the connections it holds and ignores the rest.
class PushHub {
public:
    void attach(std::int64_t device, const std::shared_ptr<PushTarget>& target);
    void detach(std::int64_t device, const PushTarget* target);
    // A notification as published by the store: {"d": [device ids], "p": "payload"}.
    void deliver(const std::string& notification);
    void deliver(const std::vector<std::string>& notifications);
    std::size_t connections() const;

private:
    mutable std::mutex mutex_;
    std::multimap<std::int64_t, std::weak_ptr<PushTarget>> targets_;
};

}  // namespace kelpa::server
