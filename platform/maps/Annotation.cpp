#include "platform/maps/Annotation.h"

#include <vector>

namespace kelpa::platform {

Annotation::~Annotation() = default;

std::optional<std::string> Annotation::title() const { return std::nullopt; }

std::optional<std::string> Annotation::subtitle() const { return std::nullopt; }

Annotation::ObserverId Annotation::observe(Observer observer) {
    const auto id = nextObserver_++;
    observers_.emplace(id, std::move(observer));
    return id;
}

void Annotation::unobserve(ObserverId id) { observers_.erase(id); }

void Annotation::changed() {
    // Observers may stop observing while being told.
    std::vector<ObserverId> ids;
    for (const auto& [id, observer] : observers_) ids.push_back(id);
    for (auto id : ids) {
        auto it = observers_.find(id);
        if (it == observers_.end()) continue;
        auto observer = it->second;
        if (observer) observer();
    }
}

}  // namespace kelpa::platform
