#pragma once

#include "platform/push/PushService.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace kelpa::platform {

class Preferences;

// The service's push stream: after registration one WebSocket to
// GET <base>/push?deviceID=...&token=..., kept on a thread of its own and reopened with a
// doubling back-off whenever it drops or is refused. Each text frame holding a JSON object
// goes to the receiver on the main queue captured at construction.
class WebSocketPushService : public PushService {
public:
    struct Options {
        std::chrono::milliseconds initialBackoff{std::chrono::seconds(1)};
        std::chrono::milliseconds maximumBackoff{std::chrono::seconds(60)};
        // A certificate authority trusted for wss:// besides the system's (a test service's).
        std::filesystem::path extraCAFile;
    };

    // Both functions run on the main queue, before each connection attempt, so a changed
    // service address takes effect at the next one.
    WebSocketPushService(std::function<std::string()> serviceBaseURL, std::function<std::string()> deviceID,
                         std::shared_ptr<Preferences> preferences, Options options);
    WebSocketPushService(std::function<std::string()> serviceBaseURL, std::function<std::string()> deviceID,
                         std::shared_ptr<Preferences> preferences);
    // Closes the stream and joins its thread.
    ~WebSocketPushService() override;
    WebSocketPushService(const WebSocketPushService&) = delete;
    WebSocketPushService& operator=(const WebSocketPushService&) = delete;

    void registerForRemoteNotifications(std::weak_ptr<PushReceiver> receiver) override;

private:
    struct Impl;
    std::shared_ptr<Impl> impl_;
};

}  // namespace kelpa::platform
