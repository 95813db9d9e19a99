#pragma once

#include <nlohmann/json.hpp>

#include <string>

namespace kelpa::platform {

// What the application delegate is told about remote notifications. Every call arrives on
// the main queue.
class PushReceiver {
public:
    virtual ~PushReceiver() = default;
    // The installation's token as raw bytes (the caller hex-encodes it for the service).
    virtual void didRegisterForRemoteNotificationsWithDeviceToken(const std::string& tokenBytes) = 0;
    virtual void didFailToRegisterForRemoteNotificationsWithError(const std::string& error) = 0;
    // One push; always a JSON object.
    virtual void didReceiveRemoteNotification(const nlohmann::json& payload) = 0;
};

}  // namespace kelpa::platform
