#pragma once

#include "platform/push/PushService.h"

#include <memory>

namespace kelpa::platform {

class MainQueue;

// The push service of an installation with no service to connect to: every registration
// fails with "push notifications are not available".
class UnavailablePushService : public PushService {
public:
    static constexpr const char* errorText = "push notifications are not available";

    UnavailablePushService();
    void registerForRemoteNotifications(std::weak_ptr<PushReceiver> receiver) override;

private:
    const std::shared_ptr<MainQueue> mainQueue_;
};

}  // namespace kelpa::platform
