#include "platform/push/ScriptedPushService.h"

#include "platform/Environment.h"
#include "platform/MainQueue.h"

namespace kelpa::platform {

std::string ScriptedPushService::defaultToken() {
    std::string bytes;
    for (int i = 0; i < 32; ++i) bytes.push_back(static_cast<char>(i));
    return bytes;
}

ScriptedPushService::ScriptedPushService(std::string tokenBytes)
    : mainQueue_(Environment::current()->mainQueue), token_(std::move(tokenBytes)) {}

void ScriptedPushService::registerForRemoteNotifications(std::weak_ptr<PushReceiver> receiver) {
    std::optional<std::string> failure;
    {
        std::lock_guard lock(mutex_);
        ++registrations_;
        failure = failure_;
        receiver_ = failure ? std::weak_ptr<PushReceiver>{} : receiver;
    }
    mainQueue_->post([receiver = std::move(receiver), failure = std::move(failure), token = token_] {
        auto r = receiver.lock();
        if (!r) return;
        if (failure)
            r->didFailToRegisterForRemoteNotificationsWithError(*failure);
        else
            r->didRegisterForRemoteNotificationsWithDeviceToken(token);
    });
}

void ScriptedPushService::deliver(nlohmann::json payload) {
    std::weak_ptr<PushReceiver> receiver;
    {
        std::lock_guard lock(mutex_);
        receiver = receiver_;
    }
    mainQueue_->post([receiver = std::move(receiver), payload = std::move(payload)] {
        if (auto r = receiver.lock()) r->didReceiveRemoteNotification(payload);
    });
}

void ScriptedPushService::failRegistration(std::string error) {
    std::lock_guard lock(mutex_);
    failure_ = std::move(error);
}

int ScriptedPushService::registrations() const {
    std::lock_guard lock(mutex_);
    return registrations_;
}

}  // namespace kelpa::platform
