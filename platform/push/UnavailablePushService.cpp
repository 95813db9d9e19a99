#include "platform/push/UnavailablePushService.h"

#include "platform/Environment.h"
#include "platform/MainQueue.h"

namespace kelpa::platform {

UnavailablePushService::UnavailablePushService() : mainQueue_(Environment::current()->mainQueue) {}

void UnavailablePushService::registerForRemoteNotifications(std::weak_ptr<PushReceiver> receiver) {
    mainQueue_->post([receiver = std::move(receiver)] {
        if (auto r = receiver.lock()) r->didFailToRegisterForRemoteNotificationsWithError(errorText);
    });
}

}  // namespace kelpa::platform
