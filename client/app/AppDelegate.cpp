#include "client/app/AppDelegate.h"

#include "client/app/LaunchViewController.h"
#include "client/app/MainStoryboard.h"
#include "client/app/ScreenSupport.h"
#include "client/model/Device.h"
#include "client/model/Group.h"
#include "client/model/KelpaDefaults.h"
#include "client/model/User.h"
#include "client/service/API.h"
#include "client/service/JSONConversion.h"
#include "platform/Environment.h"
#include "platform/Log.h"
#include "platform/NotificationCenter.h"
#include "platform/kits/CrashKit.h"
#include "platform/kits/FacebookKit.h"
#include "platform/kits/TwitterKit.h"
#include "platform/ui/Application.h"

namespace kelpa {

using platform::log;
namespace ui = platform::ui;

namespace {
constexpr int kAllNotificationTypes = ui::Application::badge | ui::Application::sound | ui::Application::alert;
}  // namespace

AppDelegate::AppDelegate() : window_(std::make_shared<ui::Window>()) { MainStoryboard::install(); }

bool AppDelegate::didFinishLaunchingWithOptions(ui::Application& application, const ui::LaunchOptions& options) {
    auto env = platform::Environment::current();
    if (auto userID = KelpaDefaults::getUserID()) {
        window_->setRootViewController(std::make_shared<LaunchViewController>());
        auto self = shared_from_this();
        API::loginUserWithUserID(*userID, [self](std::int32_t code, std::shared_ptr<User> user) {
            log("try to login with id");
            if (code == 0 && user) {
                log("successfully logged in");
                auto root = ScreenSupport::mainScreen(user->registrationCompleted ? "Tabs" : "PhoneVerificationViewController");
                if (root) self->window_->setRootViewController(root);
                return;
            }
            if (code == 2) log("user not exists");
            log("other error");
            // The stored identifier stays: the service may only have been out of reach.
            self->continueWithAuthProcess();
        });
    } else {
        continueWithAuthProcess();
    }
    registerForRemoterNotifications(application);
    // The crash reporting and Twitter kits start together.
    if (env->twitter) env->twitter->start();
    if (env->crashKit) env->crashKit->start();
    return env->facebook ? env->facebook->didFinishLaunchingWithOptions(options) : true;
}

void AppDelegate::registerForRemoterNotifications(ui::Application& application) {
    if (ScreenSupport::systemVersion() >= 8.0) {
        application.registerUserNotificationSettings(kAllNotificationTypes);
        application.registerForRemoteNotifications();
    } else {
        application.registerForRemoteNotificationTypes(kAllNotificationTypes);
    }
}

void AppDelegate::continueWithAuthProcess() {
    log("continue with social/email login process");
    if (auto auth = ScreenSupport::mainScreen("AuthViewControllerNav")) window_->setRootViewController(auth);
}

void AppDelegate::applicationDidBecomeActive(ui::Application&) {
    if (auto& facebook = platform::Environment::current()->facebook) facebook->activateApp();
}

void AppDelegate::applicationWillTerminate(ui::Application&) {
    auto joined = Group::getJoinedGroup();
    if (!joined) return;
    joined->unjoinWithCompletitionHandler([](std::int32_t, Info info) {
        if (!info) log("unjoined");
    });
}

bool AppDelegate::openURL(ui::Application&, const std::string& url, const std::string& sourceApplication,
                          const nlohmann::json& annotation) {
    auto& facebook = platform::Environment::current()->facebook;
    return facebook && facebook->openURL(url, sourceApplication, annotation);
}

void AppDelegate::didRegisterForRemoteNotificationsWithDeviceToken(ui::Application&, const std::string& deviceToken) {
    Device::updateDeviceToken(deviceToken);
}

void AppDelegate::didFailToRegisterForRemoteNotificationsWithError(ui::Application&, const std::string& error) {
    log("Failed To Register For Remote Notifications With Error: " + error);
}

void AppDelegate::didReceiveRemoteNotification(ui::Application&, const nlohmann::json& userInfo) {
    log("-[AppDelegate application:didReceiveRemoteNotification:]..userInfo=" + userInfo.dump());
    routeRemoteNotification(userInfo);
}

void AppDelegate::routeRemoteNotification(const nlohmann::json& userInfo) {
    auto& notifications = platform::Environment::current()->notifications;
    switch (JSONConversion::integer(userInfo, "acme-action")) {
        case 601:
            notifications->post("reloadChat");
            log("RELOAD_CHAT");
            break;
        case 301:
            notifications->post("reloadMembers");
            log("RELOAD_MEMBERS");
            break;
        case 302:
            notifications->post("bluetoothJoinRequested", userInfo);
            log("BLUETOOTH_JOIN_REQUESTED");
            break;
        default:
            break;
    }
}

}  // namespace kelpa
