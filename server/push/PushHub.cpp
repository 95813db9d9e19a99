#include "server/push/PushHub.h"

#include <nlohmann/json.hpp>

namespace kelpa::server {

void PushHub::attach(std::int64_t device, const std::shared_ptr<PushTarget>& target) {
    std::lock_guard lock(mutex_);
    targets_.emplace(device, target);
}

void PushHub::detach(std::int64_t device, const PushTarget* target) {
    std::lock_guard lock(mutex_);
    auto [it, end] = targets_.equal_range(device);
    while (it != end) {
        const auto held = it->second.lock();
        if (!held || held.get() == target)
            it = targets_.erase(it);
        else
            ++it;
    }
}

void PushHub::deliver(const std::string& notification) {
    const auto parsed = nlohmann::json::parse(notification, nullptr, false);
    if (!parsed.is_object() || !parsed.contains("d") || !parsed.contains("p")) return;
    const std::string payload = parsed["p"].get<std::string>();
    std::vector<std::shared_ptr<PushTarget>> receivers;
    {
        std::lock_guard lock(mutex_);
        for (const auto& device : parsed["d"]) {
            if (!device.is_number_integer()) continue;
            auto [it, end] = targets_.equal_range(device.get<std::int64_t>());
            for (; it != end; ++it)
                if (auto t = it->second.lock()) receivers.push_back(std::move(t));
        }
    }
    for (const auto& r : receivers) r->sendPush(payload);
}

void PushHub::deliver(const std::vector<std::string>& notifications) {
    for (const auto& n : notifications) deliver(n);
}

std::size_t PushHub::connections() const {
    std::lock_guard lock(mutex_);
    return targets_.size();
}

}  // namespace kelpa::server
