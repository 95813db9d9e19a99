#include "HeadlessApp.h"

#include "client/model/Functions.h"
#include "client/model/Group.h"
#include "client/model/User.h"
#include "client/service/API.h"
#include "platform/CurlHttpClient.h"
#include "platform/NotificationCenter.h"
#include "platform/Preferences.h"
#include "platform/WorkerPool.h"
#include "platform/kits/UnconfiguredFacebookKit.h"
#include "platform/kits/UnconfiguredTwitterKit.h"
#include "platform/location/ManualLocationProvider.h"
#include "platform/push/WebSocketPushService.h"
#include "platform/ui/UrlOpener.h"

#include <algorithm>

namespace kelpa::e2e {

HeadlessApp::HeadlessApp(std::filesystem::path home, std::string serviceURL,
                         std::shared_ptr<platform::SimulatedRadio> radio)
    : home_(std::move(home)) {
    std::filesystem::create_directories(home_ / "Documents");
    loop_ = std::make_shared<platform::HeadlessMainQueue>(platform::HeadlessMainQueue::ClockMode::Real);
    env_ = std::make_shared<platform::Environment>();
    env_->mainQueue = loop_;
    env_->workers = std::make_shared<platform::WorkerPool>();
    env_->http = std::make_shared<platform::CurlHttpClient>();
    env_->preferences = std::make_shared<platform::Preferences>(home_ / "preferences.json");
    env_->notifications = std::make_shared<platform::NotificationCenter>();
    env_->facebook = std::make_shared<platform::UnconfiguredFacebookKit>();
    env_->twitter = std::make_shared<platform::UnconfiguredTwitterKit>();
    env_->bluetooth = std::move(radio);
    env_->location = std::make_shared<platform::ManualLocationProvider>();
    env_->urlOpener = std::make_shared<platform::ui::RecordingUrlOpener>();
    env_->strings = {{"Cancel", "Cancel"}};
    env_->documentsDirectory = home_ / "Documents";
    env_->logSink = [this](std::string_view line) {
        std::lock_guard lock(logMutex_);
        log_.emplace_back(line);
    };
    inside([&] {
        API::setServiceBaseURL(serviceURL);
        platform::WebSocketPushService::Options options;
        options.initialBackoff = std::chrono::milliseconds(100);
        options.maximumBackoff = std::chrono::seconds(1);
        env_->push = std::make_shared<platform::WebSocketPushService>([] { return API::serviceBaseURL(); },
                                                                      [] { return Functions::getUUID(); },
                                                                      env_->preferences, options);
    });
}

HeadlessApp::~HeadlessApp() {
    inside([&] {
        driver_.reset();
        application_.reset();
        delegate_.reset();
        env_->push.reset();
        loop_->runUntilIdle();
    });
}

void HeadlessApp::launch() {
    inside([&] {
        delegate_ = std::make_shared<AppDelegate>();
        application_ = std::make_shared<platform::ui::Application>(delegate_);
        platform::ui::Application::launch(application_);
        driver_ = std::make_unique<platform::ui::Driver>(delegate_->window());
    });
}

void HeadlessApp::pump(std::chrono::milliseconds slice) {
    inside([&] { loop_->runFor(slice); });
}

std::vector<std::string> HeadlessApp::logLines() const {
    std::lock_guard lock(logMutex_);
    return log_;
}

bool HeadlessApp::logged(const std::string& line) const {
    auto lines = logLines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

bool HeadlessApp::signUp(const std::string& name, const std::string& number) {
    bool registered = false;
    inside([&] {
        auto user = std::make_shared<User>();
        user->displayName = name;
        API::registerNewUser(user, name + "@example.org", Functions::getHashedStringFromString("secret " + name),
                             [&](std::int32_t) { registered = true; });
    });
    if (!runUntil({this}, [&] { return registered; })) return false;
    if (!inside([] { return User::getCurrentUser() != nullptr; })) return false;
    const bool verified = verifyPhoneAndCompleteRegistration(number);
    inside([] { User::setCurrentUser(nullptr); });
    return verified;
}

bool HeadlessApp::verifyPhoneAndCompleteRegistration(const std::string& number) {
    std::optional<bool> done;
    inside([&] {
        auto me = User::getCurrentUser();
        if (!me) return void(done = false);
        API::sendSMS("4711", number, [&, me](std::int32_t sent) {
            if (sent != 0) return void(done = false);
            me->updatePhoneNumber(number, "4711", [&, me](std::int32_t saved, Info) {
                if (saved != 0) return void(done = false);
                me->updateRegistrationCompleted(true, [&](std::int32_t completed, Info) { done = completed == 0; });
            });
        });
    });
    return runUntil({this}, [&] { return done.has_value(); }) && *done;
}

std::shared_ptr<Group> HeadlessApp::createGroup(const std::string& description, std::int32_t travelMode,
                                                const std::vector<std::shared_ptr<User>>& invited) {
    std::optional<bool> done;
    auto group = std::make_shared<Group>();
    inside([&] {
        group->jDescription = description;
        group->GroupType = travelMode;
        const auto now = platform::Environment::current()->mainQueue->now();
        group->startTime = now - std::chrono::hours(1);
        group->endTime = now + std::chrono::hours(6);
        Group::newGroup(group, invited, {}, [&](std::int32_t code, Info, Info, Info) { done = code == 0; });
    });
    return runUntil({this}, [&] { return done.has_value(); }) && *done ? group : nullptr;
}

bool HeadlessApp::runUntil(const std::vector<HeadlessApp*>& apps, const std::function<bool()>& condition,
                           std::chrono::seconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        for (auto* app : apps) app->pump();
    }
    return true;
}

}  // namespace kelpa::e2e
