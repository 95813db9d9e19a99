#pragma once

#include "client/app/AppDelegate.h"
#include "platform/Environment.h"
#include "platform/HeadlessMainQueue.h"
#include "platform/bluetooth/SimulatedRadio.h"
#include "platform/ui/Application.h"
#include "platform/ui/Driver.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace kelpa {
class Group;
class User;
}  // namespace kelpa

namespace kelpa::e2e {

// One installation of the application without a renderer, on the real network and the real
// clock: its own preferences and documents, its own main queue, the service's push stream,
// and a radio it may share with other instances in the same process. Everything it does runs
// inside its own environment scope, so several instances live side by side.
class HeadlessApp {
public:
    HeadlessApp(std::filesystem::path home, std::string serviceURL, std::shared_ptr<platform::SimulatedRadio> radio);
    ~HeadlessApp();
    HeadlessApp(const HeadlessApp&) = delete;
    HeadlessApp& operator=(const HeadlessApp&) = delete;

    // Runs `work` as this instance (its environment current on this thread).
    template <class Work>
    auto inside(Work&& work) {
        platform::Environment::Scope scope(env_);
        return work();
    }

    void launch();
    // Runs this instance's main queue for a slice of time.
    void pump(std::chrono::milliseconds slice = std::chrono::milliseconds(5));

    platform::ui::Driver& driver() { return *driver_; }
    const std::shared_ptr<platform::Environment>& env() const { return env_; }
    std::vector<std::string> logLines() const;
    bool logged(const std::string& line) const;

    // An account made through the service by e-mail, with a verified phone and the registration
    // completed, then forgotten again, so the next launch signs it in from the stored identifier
    // and opens on the tabs. False when the service refused a step.
    bool signUp(const std::string& name, const std::string& number);

    // For the signed-in user: a code texted to the number and sent back, then the registration
    // completed, as the onboarding screens do. False when the service refused a step.
    bool verifyPhoneAndCompleteRegistration(const std::string& number);

    // Creates a group of this travel mode, open from an hour ago for six hours, with these
    // users invited, led by the signed-in user; the record once created, none when refused.
    std::shared_ptr<Group> createGroup(const std::string& description, std::int32_t travelMode,
                                             const std::vector<std::shared_ptr<User>>& invited = {});

    // Runs every instance in turn until the condition (checked outside any instance) holds.
    static bool runUntil(const std::vector<HeadlessApp*>& apps, const std::function<bool()>& condition,
                         std::chrono::seconds timeout = std::chrono::seconds(30));

private:
    std::filesystem::path home_;
    std::shared_ptr<platform::Environment> env_;
    std::shared_ptr<platform::HeadlessMainQueue> loop_;
    std::shared_ptr<AppDelegate> delegate_;
    std::shared_ptr<platform::ui::Application> application_;
    std::unique_ptr<platform::ui::Driver> driver_;
    mutable std::mutex logMutex_;
    std::vector<std::string> log_;
};

}  // namespace kelpa::e2e
