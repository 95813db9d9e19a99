#pragma once

#include "platform/ui/ApplicationDelegate.h"
#include "platform/ui/Window.h"

#include <memory>
#include <string>

namespace kelpa {

// Start-up, remote notifications and the end of the process.
class AppDelegate : public platform::ui::ApplicationDelegate, public std::enable_shared_from_this<AppDelegate> {
public:
    AppDelegate();

    bool didFinishLaunchingWithOptions(platform::ui::Application& application,
                                       const platform::ui::LaunchOptions& options) override;
    void applicationDidBecomeActive(platform::ui::Application& application) override;
    void applicationWillTerminate(platform::ui::Application& application) override;
    bool openURL(platform::ui::Application& application, const std::string& url, const std::string& sourceApplication,
                 const nlohmann::json& annotation) override;
    void didRegisterForRemoteNotificationsWithDeviceToken(platform::ui::Application& application,
                                                          const std::string& deviceToken) override;
    void didFailToRegisterForRemoteNotificationsWithError(platform::ui::Application& application,
                                                          const std::string& error) override;
    void didReceiveRemoteNotification(platform::ui::Application& application, const nlohmann::json& userInfo) override;

    std::shared_ptr<platform::ui::Window> window() override { return window_; }

    void registerForRemoterNotifications(platform::ui::Application& application);
    void continueWithAuthProcess();
    // Turns a push into the local notification its reason names.
    static void routeRemoteNotification(const nlohmann::json& userInfo);

private:
    std::shared_ptr<platform::ui::Window> window_;
};

}  // namespace kelpa
