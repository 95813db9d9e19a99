#include "AppFixture.h"

#include "client/bluetooth/MasterViewController.h"
#include "client/bluetooth/PeripheralViewController.h"
#include "client/model/Group.h"
#include "client/model/User.h"
#include "platform/NotificationCenter.h"
#include "platform/ui/Window.h"

namespace kelpa::testing {
namespace {

constexpr const char* kServiceList = "(\n    7B0FCD68-A8DE-4A6A-A62E-5344074F3D01\n)";

// Ann (5) signed in, leading "Tour" (17) and "Ride" (18), with a base screen loaded on screen.
struct Leader : ::testing::Test {
    Leader() {
        User::setCurrentUser(User::initWithJSON(AppFixture::userJSON("5", "Ann")));
        window->setRootViewController(screen);
        app.t.settle();
    }
    ~Leader() override { app.t.settle(); }

    std::shared_ptr<ScanProbe> scan() {
        auto probe = std::make_shared<ScanProbe>();
        probe->start();
        app.t.loop().runFor(std::chrono::seconds(2));
        return probe;
    }
    std::shared_ptr<MasterViewController> loadedScreen() {
        auto other = std::make_shared<MasterViewController>();
        other->loadViewIfNeeded();
        return other;
    }
    static json contacts(const std::vector<std::string>& ids) {
        json list = json::array();
        for (const auto& id : ids) list.push_back(AppFixture::userJSON(id, "User " + id));
        return json{{"Contacts", list}};
    }
    void requestJoin(const json& requesterID) {
        app.t.env().notifications->post("bluetoothJoinRequested",
                                        json{{"acme-action", 302}, {"acme-objectID", requesterID}});
        app.t.settle();
    }

    AppFixture app;
    std::shared_ptr<Group> tour = Group::initWithJSON({{"groupID", "17"}, {"description", "Tour"}});
    std::shared_ptr<Group> ride = Group::initWithJSON({{"groupID", "18"}, {"description", "Ride"}});
    std::shared_ptr<MasterViewController> screen = std::make_shared<MasterViewController>();
    std::shared_ptr<platform::ui::Window> window = std::make_shared<platform::ui::Window>();
    platform::ui::Driver driver{window};
};

TEST_F(Leader, AdvertisesTheGroupToAdvertiseWithTheServiceUUID) {
    MasterViewController::setGroupToAdvertise(tour);
    screen->startAdvertising();
    app.t.settle();
    EXPECT_TRUE(app.t.logged("BL on"));
    ASSERT_TRUE(screen->customCharacteristic);
    EXPECT_EQ(screen->customCharacteristic->properties, 0x10);
    EXPECT_EQ(screen->customCharacteristic->permissions, 0x01);
    EXPECT_FALSE(screen->customCharacteristic->value);
    auto probe = scan();
    EXPECT_EQ(probe->names, (std::vector<std::string>{"17"}));
    EXPECT_EQ(probe->services, (std::vector<std::string>{kServiceList}));
}

TEST_F(Leader, StartingAgainWhileAdvertisingKeepsTheManagerAndItsGroup) {
    MasterViewController::setGroupToAdvertise(tour);
    screen->startAdvertising();
    app.t.settle();
    auto manager = screen->peripheralManager;
    ASSERT_TRUE(manager && manager->isAdvertising());
    MasterViewController::setGroupToAdvertise(ride);
    screen->startAdvertising();
    app.t.settle();
    EXPECT_EQ(screen->peripheralManager, manager);
    EXPECT_EQ(scan()->names, (std::vector<std::string>{"17"}));
}

TEST_F(Leader, SwitchingFromOneGroupToAnotherMakesAFreshManager) {
    MasterViewController::setGroupToAdvertise(tour);
    screen->stopAdvertising();
    screen->startAdvertising();
    app.t.settle();
    auto first = screen->peripheralManager;
    MasterViewController::setGroupToAdvertise(ride);
    screen->stopAdvertising();
    screen->startAdvertising();
    app.t.settle();
    EXPECT_NE(screen->peripheralManager, first);
    EXPECT_EQ(scan()->names, (std::vector<std::string>{"18"}));

    // Switched off: nothing on the air, the manager stays.
    MasterViewController::setGroupToAdvertise(nullptr);
    screen->stopAdvertising();
    app.t.settle();
    EXPECT_TRUE(screen->peripheralManager);
    EXPECT_TRUE(scan()->names.empty());
}

TEST_F(Leader, APowerCycleAdvertisesTheGroupOfThatMomentAgain) {
    MasterViewController::setGroupToAdvertise(tour);
    screen->startAdvertising();
    app.t.settle();
    app.radio->setPoweredOn(false);
    app.t.settle();
    EXPECT_TRUE(app.t.logged("BL Off"));
    EXPECT_TRUE(scan()->names.empty());
    MasterViewController::setGroupToAdvertise(ride);
    app.radio->setPoweredOn(true);
    app.t.settle();
    auto lines = app.t.logLines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "BL on"), 2);
    EXPECT_EQ(scan()->names, (std::vector<std::string>{"18"}));
}

TEST_F(Leader, EveryStateWritesItsLine) {
    const std::pair<platform::ManagerState, const char*> states[] = {
        {platform::ManagerState::unknown, "BL Unknown"},
        {platform::ManagerState::resetting, "BL resetting"},
        {platform::ManagerState::unsupported, "BL Unsupported"},
        {platform::ManagerState::unauthorized, "BL not authorized"},
        {platform::ManagerState::poweredOff, "BL Off"},
    };
    MasterViewController::setGroupToAdvertise(tour);
    screen->startAdvertising();
    app.t.settle();
    for (const auto& [state, line] : states) {
        app.radio->setState(state);
        app.t.settle();
        EXPECT_TRUE(app.t.logged(line)) << line;
    }
}

TEST_F(Leader, NothingIsAdvertisedWithoutAGroupToAdvertise) {
    screen->startAdvertising();
    app.t.settle();
    EXPECT_TRUE(app.t.logged("BL on"));
    EXPECT_TRUE(scan()->names.empty());
}

TEST_F(Leader, AContactAskingToJoinIsInvitedAtOnce) {
    MasterViewController::setGroupToAdvertise(tour);
    app.t.http().queueJSONForAction(114, AppFixture::userJSON("9", "Bob"));
    app.t.http().queueJSONForAction(501, contacts({"8", "9"}));
    app.t.http().queueJSONForAction(306, json{{"code", 0}});
    requestJoin("9");
    EXPECT_FALSE(driver.alert());
    EXPECT_EQ(app.field(114, "loadID"), "9");
    ASSERT_EQ(app.sent(306), 1u);
    EXPECT_EQ(app.field(306, "groupID"), "17");
}

TEST_F(Leader, AStrangerIsAskedAboutAndAcceptedOrTurnedDown) {
    for (const char* choice : {"accept", "Cancel"}) {
        SCOPED_TRACE(choice);
        MasterViewController::setGroupToAdvertise(tour);
        const size_t invitesBefore = app.sent(306);
        app.t.http().queueJSONForAction(114, AppFixture::userJSON("9", "Bob"));
        app.t.http().queueJSONForAction(501, contacts({"8"}));
        app.t.http().queueJSONForAction(306, json{{"code", 1}, {"info", "already a member"}});
        requestJoin(9);  // a number is read as its decimal text
        EXPECT_EQ(app.field(114, "loadID", app.sent(114) - 1), "9");
        ASSERT_TRUE(driver.alert());
        EXPECT_EQ(driver.alertTitle(), "join request");
        EXPECT_EQ(driver.alertMessage(), "Bob wants to join Tour");
        EXPECT_EQ(driver.alertActions(), (std::vector<std::string>{"Cancel", "accept"}));
        EXPECT_EQ(driver.alert()->actions()[0]->style(), platform::ui::AlertAction::Style::cancel);
        driver.chooseAlertAction(choice);
        app.t.settle();
        if (std::string(choice) == "accept") {
            EXPECT_EQ(app.sent(306), invitesBefore + 1);
            EXPECT_TRUE(app.t.logged("already a member"));
        } else {
            EXPECT_EQ(app.sent(306), invitesBefore);
            EXPECT_TRUE(app.t.logged("Cancel action"));
        }
        // The contacts are held now; the next request asks nobody for them.
        User::getCurrentUser()->contacts.reset();
    }
}

TEST_F(Leader, ARequestIsDroppedWithoutRequesterOrGroup) {
    // No group to advertise.
    app.t.http().queueJSONForAction(114, AppFixture::userJSON("9", "Bob"));
    requestJoin("9");
    EXPECT_EQ(app.sent(501), 0u);
    EXPECT_FALSE(driver.alert());
    // The requester cannot be loaded.
    MasterViewController::setGroupToAdvertise(tour);
    app.t.http().queueJSONForAction(114, json{{"code", 1}, {"info", "no such user"}});
    requestJoin("9");
    EXPECT_EQ(app.sent(501), 0u);
    EXPECT_FALSE(driver.alert());
}

TEST_F(Leader, WithSeveralScreensLoadedTheRequestIsHandledOnce) {
    auto second = loadedScreen();
    auto third = loadedScreen();
    MasterViewController::setGroupToAdvertise(tour);
    app.t.http().queueJSONForAction(114, AppFixture::userJSON("9", "Bob"));
    app.t.http().queueJSONForAction(501, contacts({"9"}));
    app.t.http().queueJSONForAction(306, json{{"code", 0}});
    requestJoin("9");
    EXPECT_EQ(app.sent(114), 1u);
    EXPECT_EQ(app.sent(306), 1u);
    // Once the screen that appeared last is gone, another one answers.
    screen.reset();
    window->setRootViewController(nullptr);
    app.t.http().queueJSONForAction(114, AppFixture::userJSON("9", "Bob"));
    app.t.http().queueJSONForAction(306, json{{"code", 0}});
    requestJoin("9");
    EXPECT_EQ(app.sent(114), 2u);
    EXPECT_EQ(app.sent(306), 2u);
}

TEST(PresenceAdvertiser, AdvertisesTheSignedInUserAsSoonAsItLoads) {
    AppFixture app;
    User::setCurrentUser(User::initWithJSON(AppFixture::userJSON("5", "Ann")));
    auto presence = std::make_shared<PeripheralViewController>();
    presence->loadViewIfNeeded();
    app.t.settle();
    EXPECT_TRUE(app.t.logged("BL on"));
    auto probe = std::make_shared<ScanProbe>();
    probe->start();
    app.t.loop().runFor(std::chrono::seconds(2));
    EXPECT_EQ(probe->names, (std::vector<std::string>{"5"}));
    // Released with its screen: off the air.
    presence.reset();
    app.t.settle();
    auto later = std::make_shared<ScanProbe>();
    later->start();
    app.t.loop().runFor(std::chrono::seconds(2));
    EXPECT_TRUE(later->names.empty());
}

}  // namespace
}  // namespace kelpa::testing
