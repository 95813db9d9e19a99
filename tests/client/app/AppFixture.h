#pragma once

#include "TestEnvironment.h"

#include "client/app/AppDelegate.h"
#include "client/model/User.h"
#include "platform/bluetooth/CentralManager.h"
#include "platform/bluetooth/CentralManagerDelegate.h"
#include "platform/bluetooth/SimulatedRadio.h"
#include "platform/Preferences.h"
#include "platform/kits/FakeFacebookKit.h"
#include "platform/kits/FakeTwitterKit.h"
#include "platform/location/ManualLocationProvider.h"
#include "platform/push/ScriptedPushService.h"
#include "platform/ui/Application.h"
#include "platform/ui/Driver.h"
#include "platform/ui/UrlOpener.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <memory>
#include <string>
#include <vector>

namespace kelpa::testing {

using json = nlohmann::json;

// A whole application on the scripted transport and the virtual clock, with fake kits, a
// scripted push service, a simulated radio and a hand-fed location source. Nothing is
// launched until launch() is called.
class AppFixture {
public:
    AppFixture() {
        auto& env = t.env();
        env.facebook = facebook;
        env.twitter = twitter;
        env.push = push;
        env.bluetooth = radio;
        env.location = location;
        env.urlOpener = urls;
        env.strings = {{"Cancel", "Cancel"}};
    }
    ~AppFixture() {
        // Screens and managers go before the environment they were made in.
        driver.reset();
        application.reset();
        delegate.reset();
        t.settle();
    }

    // Starts the application and lets start-up's requests come back.
    void launch() {
        delegate = std::make_shared<AppDelegate>();
        application = std::make_shared<platform::ui::Application>(delegate);
        launchResult = platform::ui::Application::launch(application);
        driver = std::make_unique<platform::ui::Driver>(delegate->window());
        t.settle();
    }

    // A stored sign-in and the reply its action 101 will get.
    void storeSignIn(const std::string& userID, std::optional<json> reply) {
        t.env().preferences->set("kUserID", userID);
        if (reply) t.http().queueJSONForAction(101, *reply);
    }

    static json userJSON(const std::string& id, const std::string& name, bool completed = true) {
        return {{"userID", id}, {"displayName", name}, {"phoneNumber", "+4917012345"},
                {"registrationFromSocial", 0}, {"registrationCompleted", completed ? 1 : 0}};
    }

    // The front-most screen as its class.
    template <class T>
    T* front() const {
        return dynamic_cast<T*>(driver->frontmost());
    }

    // Picture uploads go out as multipart bodies, not forms.
    size_t uploads() {
        size_t count = 0;
        for (const auto& request : t.http().requests()) {
            if (request.body.find("name=\"action\"\r\n\r\n108\r\n") != std::string::npos) ++count;
        }
        return count;
    }
    size_t sent(int action) { return t.http().formsForAction(action).size(); }
    std::optional<std::string> field(int action, const std::string& key, size_t index = 0) {
        auto forms = t.http().formsForAction(action);
        if (index >= forms.size()) return std::nullopt;
        return platform::FakeHttpClient::field(forms[index], key);
    }

    TestEnvironment t;
    std::shared_ptr<platform::FakeFacebookKit> facebook = std::make_shared<platform::FakeFacebookKit>();
    std::shared_ptr<platform::FakeTwitterKit> twitter = std::make_shared<platform::FakeTwitterKit>();
    std::shared_ptr<platform::ScriptedPushService> push = std::make_shared<platform::ScriptedPushService>();
    std::shared_ptr<platform::SimulatedRadio> radio = std::make_shared<platform::SimulatedRadio>();
    std::shared_ptr<platform::ManualLocationProvider> location = std::make_shared<platform::ManualLocationProvider>();
    std::shared_ptr<platform::ui::RecordingUrlOpener> urls = std::make_shared<platform::ui::RecordingUrlOpener>();
    std::shared_ptr<AppDelegate> delegate;
    std::shared_ptr<platform::ui::Application> application;
    std::unique_ptr<platform::ui::Driver> driver;
    bool launchResult = false;
};

// A nearby phone scanning for every advertiser on the fixture's radio.
class ScanProbe : public platform::CentralManagerDelegate, public std::enable_shared_from_this<ScanProbe> {
public:
    void start() {
        central = platform::CentralManager::initWithDelegate(weak_from_this());
        central->scanForPeripheralsWithServices(std::nullopt);
    }
    void centralManagerDidUpdateState(platform::CentralManager&) override {}
    void didDiscoverPeripheral(platform::CentralManager&, const platform::Peripheral&,
                               const platform::AdvertisementData& data, int) override {
        auto name = data.find(platform::CBAdvertisementDataLocalNameKey);
        auto uuids = data.find(platform::CBAdvertisementDataServiceUUIDsKey);
        names.push_back(name != data.end() && name->second.text() ? *name->second.text() : "");
        services.push_back(uuids != data.end() ? uuids->second.description() : "");
    }

    std::shared_ptr<platform::CentralManager> central;
    std::vector<std::string> names;
    std::vector<std::string> services;
};

}  // namespace kelpa::testing
