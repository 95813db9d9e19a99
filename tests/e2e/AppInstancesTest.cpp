// Two installations of the application, without a renderer, against the real kelpa-server on
// loopback and one simulated radio: one goes through the whole onboarding and leads a group it
// advertises; the other signs in, finds the group nearby and asks to join; the leader accepts.
#include "HeadlessApp.h"

#include "client/app/TabPlaceholderViewController.h"
#include "client/bluetooth/MasterViewController.h"
#include "client/model/Functions.h"
#include "client/model/Group.h"
#include "client/model/KelpaDefaults.h"
#include "client/model/Member.h"
#include "client/model/User.h"
#include "client/service/API.h"
#include "platform/Image.h"
#include "platform/bluetooth/CentralManager.h"
#include "platform/bluetooth/CentralManagerDelegate.h"
#include "platform/ui/ViewController.h"
#include "tests/server/TripFixture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>

namespace kelpa::e2e {
namespace {

using nlohmann::json;
using namespace std::chrono_literals;

// The code in the last text message to a number, from the service's outbox.
std::optional<std::string> lastTextTo(const std::string& outbox, const std::string& number) {
    std::ifstream in(outbox);
    std::optional<std::string> body;
    for (std::string line; std::getline(in, line);) {
        auto message = json::parse(line, nullptr, false);
        if (message.is_object() && message.value("to", "") == number) body = message.value("body", "");
    }
    std::smatch code;
    if (!body || !std::regex_search(*body, code, std::regex(R"(\b\d{4}\b)"))) return std::nullopt;
    return code.str();
}

// A phone nearby that scans for groups and asks to join the first one it hears.
class GroupScanner : public platform::CentralManagerDelegate, public std::enable_shared_from_this<GroupScanner> {
public:
    void start() {
        central = platform::CentralManager::initWithDelegate(weak_from_this());
        central->scanForPeripheralsWithServices(std::nullopt);
    }
    void centralManagerDidUpdateState(platform::CentralManager&) override {}
    void didDiscoverPeripheral(platform::CentralManager&, const platform::Peripheral&,
                               const platform::AdvertisementData& data, int) override {
        auto uuids = data.find(platform::CBAdvertisementDataServiceUUIDsKey);
        auto name = data.find(platform::CBAdvertisementDataLocalNameKey);
        if (uuids == data.end() || name == data.end() || !name->second.text()) return;
        if (uuids->second.description().find("7B0FCD68-A8DE-4A6A-A62E-5344074F3D01") == std::string::npos) return;
        if (found) return;
        found = *name->second.text();
        auto self = shared_from_this();
        Group::getGroupFromID(*found, [self](std::shared_ptr<Group> group, Info) {
            if (!group) return;
            group->requestGroupJoin([self](Info info) {
                self->asked = true;
                self->answer = info;
            });
        });
    }

    std::shared_ptr<platform::CentralManager> central;
    std::optional<std::string> found;
    bool asked = false;
    Info answer;
};

class AppInstances : public server::testing::ServerFixture {
protected:
    std::string serviceURL() const { return "http://127.0.0.1:" + std::to_string(server->port()); }
    std::unique_ptr<HeadlessApp> app(const std::string& name) {
        return std::make_unique<HeadlessApp>(std::filesystem::path(database->directory()) / name, serviceURL(), radio);
    }
    std::shared_ptr<platform::SimulatedRadio> radio = std::make_shared<platform::SimulatedRadio>();
};

TEST_P(AppInstances, OnboardingThenAJoinRequestOverBluetoothAcceptedByTheLeader) {
    auto ann = app("ann");
    auto bob = app("bob");
    const std::vector<HeadlessApp*> both{ann.get(), bob.get()};
    auto front = [](HeadlessApp& who) { return who.inside([&] { return who.driver().frontmostClass(); }); };
    auto waitFor = [&](HeadlessApp& who, const std::string& screen) {
        return HeadlessApp::runUntil(both, [&] { return front(who) == screen; });
    };

    // Ann: registration, phone verification with the texted code, profile, then the tabs.
    ann->launch();
    ASSERT_TRUE(waitFor(*ann, "AuthViewController"));
    ann->inside([&] {
        auto& d = ann->driver();
        d.tap("registration");
        d.type("displayName", "Ann");
        d.type("email", "ann@example.org");
        d.type("password", "secret Ann");
        d.tap("registrate");
    });
    ASSERT_TRUE(waitFor(*ann, "PhoneVerificationViewController"));
    ann->inside([&] {
        ann->driver().type("phoneNumber", "0170 1111111");
        ann->driver().tap("sendVerificationCode");
    });
    ASSERT_TRUE(HeadlessApp::runUntil(both, [&] { return ann->inside([&] { return ann->driver().isEnabled("verifyButton"); }); }));
    const auto code = lastTextTo(server->outboxPath(), "+491701111111");
    ASSERT_TRUE(code);
    ann->inside([&] {
        ann->driver().type("verificationCode", *code);
        ann->driver().tap("verifyButton");
    });
    ASSERT_TRUE(waitFor(*ann, "ProfileSetupViewController"));
    auto picture = std::make_shared<platform::Image>(platform::Image{64, 64, std::vector<std::uint8_t>(64 * 64 * 4, 180)});
    ann->inside([&] {
        ann->driver().tap("selectFromLibrary");
        ann->driver().pickImage(picture);
    });
    ASSERT_TRUE(HeadlessApp::runUntil(both, [&] { return ann->logged("Profile Image successfully Uploaded") ||
                                                         ann->inside([&] { return !ann->driver().isVisible("status"); }); }));
    ann->inside([&] {
        ann->driver().type("displayname", "Ann A.");
        ann->driver().tap("finish");
    });
    ASSERT_TRUE(waitFor(*ann, "MapViewController"));
    const auto annID = ann->inside([] { return User::getCurrentUser()->userID.value_or(""); });
    ASSERT_FALSE(annID.empty());
    EXPECT_EQ(ann->inside([] { return KelpaDefaults::getUserID(); }), annID);

    // Ann leads a group and makes it findable nearby.
    auto tour = ann->createGroup("Alps tour", 2);
    ASSERT_TRUE(tour);
    ann->inside([&] {
        auto* screen = dynamic_cast<MasterViewController*>(ann->driver().frontmost());
        ASSERT_TRUE(screen);
        MasterViewController::setGroupToAdvertise(tour);
        screen->stopAdvertising();
        screen->startAdvertising();
    });
    ASSERT_TRUE(HeadlessApp::runUntil(both, [&] { return ann->logged("BL on"); }));

    // Bob has an account already and signs in on the sign-in screen.
    bob->inside([&] {
        auto user = std::make_shared<User>();
        user->displayName = "Bob";
        API::registerNewUser(user, "bob@example.org", Functions::getHashedStringFromString("secret Bob"),
                             [](std::int32_t) {});
    });
    ASSERT_TRUE(HeadlessApp::runUntil(both, [&] { return bob->inside([] { return User::getCurrentUser() != nullptr; }); }));
    ASSERT_TRUE(bob->verifyPhoneAndCompleteRegistration("+491702222222"));
    bob->inside([] {
        User::setCurrentUser(nullptr);
        KelpaDefaults::removeUserID();
    });
    bob->launch();
    ASSERT_TRUE(waitFor(*bob, "AuthViewController"));
    bob->inside([&] {
        bob->driver().type("email", "bob@example.org");
        bob->driver().type("password", "secret Bob");
        bob->driver().tap("login");
    });
    ASSERT_TRUE(waitFor(*bob, "MapViewController"));

    // Bob's phone hears the group and asks to join; the service relays it to Ann.
    auto scanner = bob->inside([] {
        auto s = std::make_shared<GroupScanner>();
        s->start();
        return s;
    });
    ASSERT_TRUE(HeadlessApp::runUntil(both, [&] { return scanner->asked; }));
    EXPECT_EQ(scanner->found, tour->groupID);
    EXPECT_EQ(scanner->answer, std::nullopt);

    // Ann is asked (Bob is no contact of hers) and accepts.
    ASSERT_TRUE(HeadlessApp::runUntil(both, [&] { return ann->inside([&] { return ann->driver().alert() != nullptr; }); }));
    EXPECT_TRUE(ann->logged("BLUETOOTH_JOIN_REQUESTED"));
    ann->inside([&] {
        EXPECT_EQ(ann->driver().alertTitle(), "join request");
        EXPECT_EQ(ann->driver().alertMessage(), "Bob wants to join Alps tour");
        ann->driver().chooseAlertAction("accept");
    });

    // Bob is a member now.
    bool bobIsMember = false;
    bool loading = false;
    ASSERT_TRUE(HeadlessApp::runUntil(both, [&] {
        if (!bobIsMember && !loading) {
            loading = true;
            ann->inside([&] {
                tour->loadMembersWithCompletitionHandler(
                    [&](std::optional<RecordList<Member>> members, Info) {
                        for (const auto& member : members.value_or(RecordList<Member>{})) {
                            if (member->user && member->user->displayName == "Bob") bobIsMember = true;
                        }
                        loading = false;
                    },
                    true);
            });
        }
        return bobIsMember;
    }));
}

INSTANTIATE_TEST_SUITE_P(Engines, AppInstances, ::testing::Values("sqlite"), server::testing::engineName);

}  // namespace
}  // namespace kelpa::e2e
