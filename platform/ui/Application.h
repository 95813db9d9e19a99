#pragma once

#include "platform/ui/ApplicationDelegate.h"

#include <memory>
#include <string>

namespace kelpa::platform::ui {

// The running application: its delegate, remote notification registration, opening URLs in
// other applications, and the end of the process. One per environment.
class Application : public std::enable_shared_from_this<Application> {
public:
    // Notification kinds a user can allow; 7 is all three.
    enum NotificationType : int { none = 0, badge = 1, sound = 2, alert = 4 };

    explicit Application(std::shared_ptr<ApplicationDelegate> delegate);
    ~Application();

    // Starts the application: makes it the environment's shared one, then tells the delegate
    // that launching finished and that it became active. Returns the delegate's answer.
    static bool launch(const std::shared_ptr<Application>& application, const LaunchOptions& options = {});
    // The environment's running application, or none.
    static std::shared_ptr<Application> sharedApplication();

    const std::shared_ptr<ApplicationDelegate>& delegate() const { return delegate_; }

    void registerUserNotificationSettings(int types) { notificationTypes_ = types; }
    int registeredNotificationTypes() const { return notificationTypes_; }
    // The device token (or the failure) reaches the delegate on the main queue.
    void registerForRemoteNotifications();
    void registerForRemoteNotificationTypes(int types);

    bool openURL(const std::string& url);

    // The process is about to end (window closed, SIGINT/SIGTERM): the delegate's last word.
    void terminate();
    bool isTerminating() const { return terminating_; }

private:
    class PushRelay;

    std::shared_ptr<ApplicationDelegate> delegate_;
    std::shared_ptr<PushRelay> pushRelay_;
    int notificationTypes_ = none;
    bool terminating_ = false;
};

}  // namespace kelpa::platform::ui
