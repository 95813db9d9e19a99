#include "platform/Environment.h"

#include "platform/CurlHttpClient.h"
#include "platform/HeadlessMainQueue.h"
#include "platform/NotificationCenter.h"
#include "platform/Paths.h"
#include "platform/Preferences.h"
#include "platform/WorkerPool.h"
#include "platform/kits/UnconfiguredFacebookKit.h"
#include "platform/kits/UnconfiguredTwitterKit.h"

#include <iostream>

namespace kelpa::platform {

namespace {
std::mutex gMutex;
std::shared_ptr<Environment> gCurrent;
thread_local std::shared_ptr<Environment> tScoped;
}  // namespace

Environment::Scope::Scope(std::shared_ptr<Environment> environment) : previous_(std::move(tScoped)) {
    tScoped = std::move(environment);
}

Environment::Scope::~Scope() { tScoped = std::move(previous_); }

std::shared_ptr<Environment> Environment::current() {
    if (tScoped) return tScoped;
    std::lock_guard lock(gMutex);
    if (!gCurrent) gCurrent = makeDefault();
    return gCurrent;
}

void Environment::install(std::shared_ptr<Environment> environment) {
    std::shared_ptr<Environment> previous;
    {
        std::lock_guard lock(gMutex);
        previous = std::move(gCurrent);
        gCurrent = std::move(environment);
    }
    // `previous` is released outside the lock: its worker pool joins its threads.
}

std::shared_ptr<Environment> Environment::makeDefault() {
    auto env = std::make_shared<Environment>();
    env->mainQueue = std::make_shared<HeadlessMainQueue>();
    env->workers = std::make_shared<WorkerPool>();
    env->http = std::make_shared<CurlHttpClient>();
    env->preferences = std::make_shared<Preferences>(Paths::configDirectory() / "preferences.json");
    env->notifications = std::make_shared<NotificationCenter>();
    // No application keys ship with the source; an installation configures real kits.
    env->facebook = std::make_shared<UnconfiguredFacebookKit>();
    env->twitter = std::make_shared<UnconfiguredTwitterKit>();
    env->strings = {{"Cancel", "Cancel"}};
    env->documentsDirectory = Paths::documentsDirectory();
    env->logSink = [](std::string_view line) { std::clog << line << '\n'; };
    return env;
}

}  // namespace kelpa::platform
