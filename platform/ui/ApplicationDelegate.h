#pragma once

#include <nlohmann/json.hpp>

#include <memory>
#include <string>

namespace kelpa::platform::ui {

class Application;
class Window;

using LaunchOptions = nlohmann::json;  // an object; empty for a plain start

// What the application tells its delegate, on the main queue.
class ApplicationDelegate {
public:
    virtual ~ApplicationDelegate() = default;

    virtual bool didFinishLaunchingWithOptions(Application& application, const LaunchOptions& options) = 0;
    virtual void applicationDidBecomeActive(Application&) {}
    virtual void applicationWillResignActive(Application&) {}
    virtual void applicationDidEnterBackground(Application&) {}
    virtual void applicationWillEnterForeground(Application&) {}
    virtual void applicationWillTerminate(Application&) {}
    virtual bool openURL(Application&, const std::string& /*url*/, const std::string& /*sourceApplication*/,
                         const nlohmann::json& /*annotation*/) {
        return false;
    }

    // Remote notifications; the token is raw bytes.
    virtual void didRegisterForRemoteNotificationsWithDeviceToken(Application&, const std::string& /*deviceToken*/) {}
    virtual void didFailToRegisterForRemoteNotificationsWithError(Application&, const std::string& /*error*/) {}
    virtual void didReceiveRemoteNotification(Application&, const nlohmann::json& /*userInfo*/) {}

    virtual std::shared_ptr<Window> window() = 0;
};

}  // namespace kelpa::platform::ui
