#pragma once

#include "platform/push/PushReceiver.h"

#include <memory>

namespace kelpa::platform {

// Remote notifications as the application registers for them.
class PushService {
public:
    virtual ~PushService() = default;
    // Yields the installation's token (on the main queue) and from then on delivers payloads
    // to the receiver on the main queue, for as long as the service lives. Registering again
    // replaces the receiver.
    virtual void registerForRemoteNotifications(std::weak_ptr<PushReceiver> receiver) = 0;
};

}  // namespace kelpa::platform
