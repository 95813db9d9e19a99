#include "platform/ui/Application.h"

#include "platform/Environment.h"
#include "platform/Log.h"
#include "platform/MainQueue.h"
#include "platform/push/PushService.h"
#include "platform/ui/UrlOpener.h"

namespace kelpa::platform::ui {

namespace {
struct Running {
    std::weak_ptr<Application> application;
};
}  // namespace

// Passes what the push service says on to the delegate.
class Application::PushRelay : public PushReceiver {
public:
    explicit PushRelay(Application& application) : application_(application.weak_from_this()) {}

    void didRegisterForRemoteNotificationsWithDeviceToken(const std::string& tokenBytes) override {
        if (auto app = application_.lock()) app->delegate_->didRegisterForRemoteNotificationsWithDeviceToken(*app, tokenBytes);
    }
    void didFailToRegisterForRemoteNotificationsWithError(const std::string& error) override {
        if (auto app = application_.lock()) app->delegate_->didFailToRegisterForRemoteNotificationsWithError(*app, error);
    }
    void didReceiveRemoteNotification(const nlohmann::json& payload) override {
        if (auto app = application_.lock()) app->delegate_->didReceiveRemoteNotification(*app, payload);
    }

private:
    std::weak_ptr<Application> application_;
};

Application::Application(std::shared_ptr<ApplicationDelegate> delegate) : delegate_(std::move(delegate)) {}

Application::~Application() = default;

bool Application::launch(const std::shared_ptr<Application>& application, const LaunchOptions& options) {
    Environment::current()->local<Running>().application = application;
    const bool result = application->delegate_->didFinishLaunchingWithOptions(*application, options);
    application->delegate_->applicationDidBecomeActive(*application);
    return result;
}

std::shared_ptr<Application> Application::sharedApplication() {
    return Environment::current()->local<Running>().application.lock();
}

void Application::registerForRemoteNotifications() {
    auto& push = Environment::current()->push;
    if (!pushRelay_) pushRelay_ = std::make_shared<PushRelay>(*this);
    if (!push) {
        // No push service on this device: said the way a refused registration is.
        auto mainQueue = Environment::current()->mainQueue;
        mainQueue->post([weak = weak_from_this()] {
            if (auto app = weak.lock()) {
                app->delegate_->didFailToRegisterForRemoteNotificationsWithError(
                    *app, "push notifications are not available");
            }
        });
        return;
    }
    push->registerForRemoteNotifications(pushRelay_);
}

void Application::registerForRemoteNotificationTypes(int types) {
    notificationTypes_ = types;
    registerForRemoteNotifications();
}

bool Application::openURL(const std::string& url) {
    auto& opener = Environment::current()->urlOpener;
    if (!opener) {
        log("no application can open " + url);
        return false;
    }
    return opener->openURL(url);
}

void Application::terminate() {
    if (terminating_) return;
    terminating_ = true;
    auto keep = shared_from_this();
    delegate_->applicationWillTerminate(*this);
}

}  // namespace kelpa::platform::ui
