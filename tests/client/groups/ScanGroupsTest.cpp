// Groups nearby: advertisements of our service looked up as groups and listed newest first,
// others ignored, failed lookups skipped, the radio's state lines with a fresh scan when it
// comes back, and a tap asking to join that goes back to the start only when the request went out.
#include "GroupsFixture.h"

#include "client/bluetooth/AdvertisedService.h"
#include "client/groups/ScanForBluetoothGroupsViewController.h"
#include "platform/bluetooth/PeripheralManager.h"
#include "platform/bluetooth/PeripheralManagerDelegate.h"

namespace kelpa::testing {
namespace {

using Rows = std::vector<std::string>;

// A nearby phone advertising on the fixture's radio, again after every return of power.
class Beacon : public platform::PeripheralManagerDelegate {
public:
    explicit Beacon(platform::AdvertisementData data) : data(std::move(data)) {}
    static std::shared_ptr<Beacon> start(platform::AdvertisementData data) {
        auto beacon = std::make_shared<Beacon>(std::move(data));
        beacon->manager = platform::PeripheralManager::initWithDelegate(beacon);
        return beacon;
    }
    // A group's leader or a user's presence: our service, with the identifier as its name.
    static std::shared_ptr<Beacon> ours(const std::string& name) { return start(AdvertisedService::advertisement(name)); }

    void peripheralManagerDidUpdateState(platform::PeripheralManager& peripheral) override {
        if (peripheral.state() == platform::ManagerState::poweredOn) peripheral.addService(AdvertisedService::make().service);
    }
    void didAddService(platform::PeripheralManager& peripheral, const platform::MutableService&,
                       std::optional<std::string> error) override {
        if (!error) peripheral.startAdvertising(data);
    }

    platform::AdvertisementData data;
    std::shared_ptr<platform::PeripheralManager> manager;
};

struct ScanGroups : ::testing::Test {
    ScanGroups() {
        f.show(screen);
        f.app.t.settle();
    }
    Rows rows() const { return f.driver.rows("groupsTableView"); }
    void lookupAnswers(const std::string& id, const std::string& description) {
        f.app.t.http().queueJSONForAction(312, GroupsFixture::group(id, description));
    }
    std::vector<std::string> lookedUp() {
        std::vector<std::string> ids;
        for (size_t i = 0; i < f.app.sent(312); ++i) ids.push_back(f.app.field(312, "loadID", i).value_or(""));
        return ids;
    }
    size_t linesOf(const std::string& line) const {
        const auto lines = f.app.t.logLines();
        return static_cast<size_t>(std::count(lines.begin(), lines.end(), line));
    }

    GroupsFixture f;
    std::shared_ptr<ScanForBluetoothGroupsViewController> screen =
        std::dynamic_pointer_cast<ScanForBluetoothGroupsViewController>(f.screen("ScanGroups"));
    std::vector<std::shared_ptr<Beacon>> beacons;
};

TEST_F(ScanGroups, ListsEachAdvertisedGroupNewestFirst) {
    ASSERT_TRUE(screen);
    EXPECT_EQ(linesOf("CoreBluetooth BLE hardware is powered on and ready"), 1u);
    EXPECT_TRUE(screen->centralManager->isScanning());
    EXPECT_TRUE(rows().empty());
    EXPECT_TRUE(f.driver.isVisible("scanStatus"));
    EXPECT_TRUE(screen->scanActivity->isAnimating());

    lookupAnswers("17", "Tour");
    beacons.push_back(Beacon::ours("17"));
    f.app.t.settle();
    EXPECT_EQ(rows(), (Rows{"Tour"}));
    EXPECT_FALSE(f.driver.isVisible("scanStatus"));
    EXPECT_FALSE(screen->scanActivity->isAnimating());

    lookupAnswers("18", "Ride");
    beacons.push_back(Beacon::ours("18"));
    f.app.t.settle();
    EXPECT_EQ(rows(), (Rows{"Ride", "Tour"}));
    EXPECT_EQ(lookedUp(), (std::vector<std::string>{"17", "18"}));
}

TEST(ScanGroupsCases, OnlyOurServiceIsLookedUpAndOnlyARecordIsListed) {
    using platform::AdvertisementValue;
    using platform::BluetoothUUID;
    const auto other = BluetoothUUID::UUIDWithString("0000180D-0000-1000-8000-00805F9B34FB");
    struct Case {
        const char* name;
        platform::AdvertisementData advertisement;
        std::optional<json> lookup;
        bool lookedUp;
        Rows rows;
    };
    const Case cases[] = {
        // A presence advertisement carries a user's identifier; only a group record is listed.
        {"presence, the lookup delivers", AdvertisedService::advertisement("6"), GroupsFixture::group("6", "Odd"), true,
         {"Odd"}},
        {"presence, the lookup fails", AdvertisedService::advertisement("6"), json{{"code", 1}, {"info", "no"}}, true, {}},
        {"lookup without a reply", AdvertisedService::advertisement("17"), std::nullopt, true, {}},
        {"another service",
         {{platform::CBAdvertisementDataServiceUUIDsKey, AdvertisementValue(std::vector<BluetoothUUID>{other})},
          {platform::CBAdvertisementDataLocalNameKey, "17"}},
         GroupsFixture::group("17", "Tour"), false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GroupsFixture f;
        auto screen = std::dynamic_pointer_cast<ScanForBluetoothGroupsViewController>(f.screen("ScanGroups"));
        f.show(screen);
        if (c.lookup) f.app.t.http().queueJSONForAction(312, *c.lookup);
        auto beacon = Beacon::start(c.advertisement);
        f.app.t.settle();
        EXPECT_EQ(f.app.sent(312), c.lookedUp ? 1u : 0u);
        EXPECT_EQ(f.driver.rows("groupsTableView"), c.rows);
        EXPECT_FALSE(f.driver.alert());
    }
}

TEST_F(ScanGroups, PowerOffAndOnWritesTheLinesAndScansAfresh) {
    lookupAnswers("17", "Tour");
    beacons.push_back(Beacon::ours("17"));
    f.app.t.settle();
    ASSERT_EQ(rows(), (Rows{"Tour"}));

    f.app.radio->setPoweredOn(false);
    f.app.t.settle();
    EXPECT_EQ(linesOf("CoreBluetooth BLE hardware is powered off"), 1u);
    EXPECT_EQ(rows(), (Rows{"Tour"}));  // nothing ever removes a row
    EXPECT_EQ(screen->scanStatus->text(), "Bluetooth is off. Switch it on to look for groups nearby.");

    lookupAnswers("17", "Tour");
    f.app.radio->setPoweredOn(true);
    f.app.t.settle();
    EXPECT_EQ(linesOf("CoreBluetooth BLE hardware is powered on and ready"), 2u);
    // The fresh scan finds the group again, and it is listed again.
    EXPECT_EQ(rows(), (Rows{"Tour", "Tour"}));
    EXPECT_EQ(lookedUp(), (std::vector<std::string>{"17", "17"}));
}

TEST(ScanGroupsCases, ATapAsksToJoinAndGoesBackOnlyWhenTheRequestWentOut) {
    struct Case {
        const char* name;
        json reply;
        bool back;
    };
    const Case cases[] = {
        {"request relayed", json{{"code", 0}}, true},
        {"refused", json{{"code", 1}, {"info", "leader is away"}}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GroupsFixture f;
        auto screen = std::dynamic_pointer_cast<ScanForBluetoothGroupsViewController>(f.screen("ScanGroups"));
        // Opened from the new-group menu over the list, as the app does.
        f.navigation->pushViewController(f.screen("NewGroupMenuViewController"), false);
        f.show(screen);
        f.app.t.http().queueJSONForAction(312, GroupsFixture::group("17", "Tour"));
        auto beacon = Beacon::ours("17");
        f.app.t.settle();
        ASSERT_EQ(f.driver.rows("groupsTableView"), (Rows{"Tour"}));
        f.app.t.http().queueJSONForAction(313, c.reply);
        EXPECT_TRUE(f.driver.tapRow("groupsTableView", 0));
        f.app.t.settle();
        EXPECT_EQ(f.app.sent(313), 1u);
        EXPECT_EQ(f.app.field(313, "groupID"), "17");
        if (c.back) {
            EXPECT_EQ(f.stack(), (Rows{"TabPlaceholderViewController"}));
            EXPECT_TRUE(f.navigation->lastTransitionOfStackAnimated());
        } else {
            EXPECT_EQ(f.driver.frontmostClass(), "ScanForBluetoothGroupsViewController");
            EXPECT_EQ(f.driver.rows("groupsTableView"), (Rows{"Tour"}));
            EXPECT_FALSE(f.driver.alert());
        }
    }
}

}  // namespace
}  // namespace kelpa::testing
