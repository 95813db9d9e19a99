#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <map>
#include <string>

namespace kelpa::platform {

struct Notification {
    std::string name;
    std::any object;  // empty when the poster gave none
};

// The process-wide notification centre: observers by name, synchronous posting on the
// main thread, so observers run before post() returns.
class NotificationCenter {
public:
    using Observer = std::function<void(const Notification&)>;
    using Token = std::uint64_t;

    Token addObserver(const std::string& name, Observer observer);
    void removeObserver(Token token);
    void post(const std::string& name, std::any object = {});

private:
    struct Entry {
        std::string name;
        Observer observer;
    };
    std::map<Token, Entry> observers_;  // in order of registration
    Token next_ = 1;
};

}  // namespace kelpa::platform
