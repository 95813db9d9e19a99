#include "platform/NotificationCenter.h"

#include <vector>

namespace kelpa::platform {

NotificationCenter::Token NotificationCenter::addObserver(const std::string& name, Observer observer) {
    const Token token = next_++;
    observers_.emplace(token, Entry{name, std::move(observer)});
    return token;
}

void NotificationCenter::removeObserver(Token token) { observers_.erase(token); }

void NotificationCenter::post(const std::string& name, std::any object) {
    const Notification notification{name, std::move(object)};
    // Observers may add or remove observers while being told; work on a snapshot and skip
    // those removed meanwhile.
    std::vector<Token> tokens;
    for (const auto& [token, entry] : observers_) {
        if (entry.name == name) tokens.push_back(token);
    }
    for (Token token : tokens) {
        auto it = observers_.find(token);
        if (it == observers_.end()) continue;
        auto observer = it->second.observer;
        observer(notification);
    }
}

}  // namespace kelpa::platform
