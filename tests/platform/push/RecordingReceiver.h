#pragma once

#include "platform/MainQueue.h"
#include "platform/push/PushReceiver.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <memory>
#include <string>
#include <vector>

namespace kelpa::testing {

// Records what the app delegate would be told, and checks it is told on the main queue.
class RecordingReceiver : public platform::PushReceiver {
public:
    explicit RecordingReceiver(std::shared_ptr<platform::MainQueue> mainQueue) : mainQueue_(std::move(mainQueue)) {}

    void didRegisterForRemoteNotificationsWithDeviceToken(const std::string& tokenBytes) override {
        EXPECT_TRUE(mainQueue_->isMainThread());
        tokens.push_back(tokenBytes);
    }
    void didFailToRegisterForRemoteNotificationsWithError(const std::string& error) override {
        EXPECT_TRUE(mainQueue_->isMainThread());
        errors.push_back(error);
    }
    void didReceiveRemoteNotification(const nlohmann::json& payload) override {
        EXPECT_TRUE(mainQueue_->isMainThread());
        EXPECT_TRUE(payload.is_object());
        payloads.push_back(payload);
    }

    bool received(const nlohmann::json& payload) const {
        return std::find(payloads.begin(), payloads.end(), payload) != payloads.end();
    }

    std::vector<std::string> tokens;
    std::vector<std::string> errors;
    std::vector<nlohmann::json> payloads;

private:
    std::shared_ptr<platform::MainQueue> mainQueue_;
};

}  // namespace kelpa::testing
