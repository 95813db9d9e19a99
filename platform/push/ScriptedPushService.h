#pragma once

#include "platform/push/PushService.h"

#include <nlohmann/json.hpp>

#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace kelpa::platform {

class MainQueue;

// A push service that screen tests drive: registration yields a fixed token (or the failure
// the test asked for) and deliver() hands a payload to the registered receiver, both on the
// main queue as the real service does.
class ScriptedPushService : public PushService {
public:
    // Bytes 0x00 to 0x1f.
    static std::string defaultToken();

    explicit ScriptedPushService(std::string tokenBytes = defaultToken());

    void registerForRemoteNotifications(std::weak_ptr<PushReceiver> receiver) override;

    // Posts the payload to the receiver of the latest successful registration; dropped when
    // there is none, as a push to an unregistered device is.
    void deliver(nlohmann::json payload);
    // Registrations from now on fail with this text.
    void failRegistration(std::string error);

    int registrations() const;
    const std::string& token() const { return token_; }

private:
    const std::shared_ptr<MainQueue> mainQueue_;
    const std::string token_;
    mutable std::mutex mutex_;
    std::optional<std::string> failure_;
    std::weak_ptr<PushReceiver> receiver_;
    int registrations_ = 0;
};

}  // namespace kelpa::platform
