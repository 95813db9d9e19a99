// Planning a group: the description and travel mode of step 1 with its veto, the Bluetooth
// box, the window of step 3, the addresses of step 4, and the whole way from the group list
// back to it with the new group listed.
#include "WizardFixture.h"

#include "client/groups/GroupsTableViewController.h"
#include "client/model/Group.h"
#include "client/model/Waypoint.h"
#include "platform/MainQueue.h"
#include "platform/location/GeocodingService.h"

#include <chrono>
#include <future>
#include <map>

namespace kelpa::testing {
namespace {

using namespace std::chrono_literals;

TEST(WizardDetails, AnEmptyDescriptionIsVetoedAndTheAlertOnlyDismisses) {
    WizardFixture w;
    ASSERT_TRUE(w.details());
    EXPECT_TRUE(w.tap("next"));
    EXPECT_EQ(w.f.driver.alertTitle(), "Title!");
    EXPECT_EQ(w.f.driver.alertMessage(), ":(");
    EXPECT_EQ(w.f.driver.alertActions(), (std::vector<std::string>{"OK"}));
    EXPECT_TRUE(w.f.driver.chooseAlertAction("OK"));
    w.f.app.t.settle();
    EXPECT_FALSE(w.f.driver.alertTitle());
    EXPECT_TRUE(w.f.app.t.logged("ok"));
    EXPECT_EQ(w.f.stack(), (std::vector<std::string>{"TabPlaceholderViewController", "NewGroupMenuViewController",
                                                     "AddDetailsToGroupViewController"}));
    // With a description the same button leads on.
    w.f.driver.type("groupTitle", "Tour");
    EXPECT_TRUE(w.tap("next"));
    EXPECT_EQ(w.f.driver.frontmostClass(), "AddContactsToGroupViewController");
}

TEST(WizardDetails, ThePickedRowIsTheTravelModeAndAnUntouchedPickerIsCar) {
    struct Case {
        const char* name;
        std::optional<int> row;
        std::int32_t mode;
    };
    const Case cases[] = {
        {"untouched", std::nullopt, 1}, {"car", 0, 1}, {"bike", 1, 2}, {"pedestrian", 2, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WizardFixture w;
        auto* details = w.details();
        ASSERT_TRUE(details);
        EXPECT_EQ(details->type->titles(0), (std::vector<std::string>{"car", "bike", "pedestrian"}));
        if (c.row) {
            EXPECT_TRUE(w.f.driver.pickRow("type", *c.row));
        }
        w.f.driver.type("groupTitle", "Isar & Alps");
        EXPECT_TRUE(w.tap("next"));
        auto* members = w.front<AddContactsToGroupViewController>();
        ASSERT_TRUE(members);
        ASSERT_EQ(members->group, details->group);
        EXPECT_EQ(members->group->GroupType, c.mode);
        EXPECT_EQ(members->group->jDescription, "Isar & Alps");
        EXPECT_FALSE(members->group->groupID);
    }
}

TEST(WizardDetails, TheBluetoothBoxTogglesAndStep2SearchesOnlyWhenTicked) {
    for (int taps = 0; taps <= 3; ++taps) {
        SCOPED_TRACE(taps);
        WizardFixture w;
        ASSERT_TRUE(w.details());
        for (int i = 0; i < taps; ++i) EXPECT_TRUE(w.f.driver.tap("bluetooth"));
        const bool ticked = taps % 2 == 1;
        EXPECT_EQ(w.f.driver.text("bluetooth"), ticked ? "X" : "");
        w.f.driver.type("groupTitle", "Tour");
        EXPECT_TRUE(w.tap("next"));
        auto* members = w.front<AddContactsToGroupViewController>();
        ASSERT_TRUE(members);
        EXPECT_EQ(members->bluetoothSearch, ticked);
        EXPECT_EQ(static_cast<bool>(members->centralManager), ticked);
    }
}

TEST(WizardDetails, AnyOtherTitleOfTheBoxIsLeftAloneAndDoesNotSearch) {
    WizardFixture w;
    auto* details = w.details();
    ASSERT_TRUE(details);
    details->bluetooth->setTitle("?");
    EXPECT_TRUE(w.f.driver.tap("bluetooth"));
    EXPECT_EQ(w.f.driver.text("bluetooth"), "?");
    w.f.driver.type("groupTitle", "Tour");
    EXPECT_TRUE(w.tap("next"));
    ASSERT_TRUE(w.front<AddContactsToGroupViewController>());
    EXPECT_FALSE(w.front<AddContactsToGroupViewController>()->bluetoothSearch);
}

TEST(WizardStartEnd, TheDatesGoIntoTheGroupOnEveryWayOnward) {
    WizardFixture w;
    auto* step3 = w.startEnd();
    ASSERT_TRUE(step3);
    const auto now = w.f.app.t.env().mainQueue->now();
    struct Window {
        platform::ui::DatePicker::Date start;
        platform::ui::DatePicker::Date end;
    };
    // The second time the window closes before it opens: the dates are not compared here.
    for (const auto& window : {Window{now + 2h, now + 50h}, Window{now + 30min, now - 1h}}) {
        EXPECT_TRUE(w.f.driver.pickDate("start", window.start));
        EXPECT_TRUE(w.f.driver.pickDate("end", window.end));
        EXPECT_TRUE(w.tap("next"));
        auto* step4 = w.front<AddWaypointsFromAdressViewController>();
        ASSERT_TRUE(step4);
        ASSERT_EQ(step4->group, step3->group);
        EXPECT_EQ(step4->group->startTime, window.start);
        EXPECT_EQ(step4->group->endTime, window.end);
        EXPECT_TRUE(w.f.driver.goBack());
        w.f.app.t.settle();
    }
}

TEST(WizardWaypoints, AddressesBecomeRowsInOrderAndAnUnplaceableOneAddsNothing) {
    WizardFixture w;
    w.nominatim.place("Marienplatz 1, München", 48.1373932, 11.5754485);
    w.nominatim.place("Harbour Bridge", -33.852306, 151.210787);
    ASSERT_TRUE(w.waypoints());
    EXPECT_TRUE(w.f.driver.rows("waypointsTableView").empty());

    w.enter("Marienplatz 1, München");
    EXPECT_EQ(w.f.driver.rows("waypointsTableView"), (std::vector<std::string>{"48.137393 - 11.575449"}));
    EXPECT_EQ(w.f.driver.text("adress"), "");

    w.enter("Atlantis");
    EXPECT_EQ(w.f.driver.rows("waypointsTableView"), (std::vector<std::string>{"48.137393 - 11.575449"}));
    EXPECT_EQ(w.f.driver.text("adress"), "Atlantis");
    EXPECT_FALSE(w.f.driver.alertTitle());

    w.enter("Harbour Bridge");
    EXPECT_EQ(w.f.driver.rows("waypointsTableView"),
              (std::vector<std::string>{"48.137393 - 11.575449", "-33.852306 - 151.210787"}));
    EXPECT_EQ(w.nominatim.queries(),
              (std::vector<std::string>{"Marienplatz 1, München", "Atlantis", "Harbour Bridge"}));

    EXPECT_TRUE(w.tap("next"));
    auto* map = w.front<AddAnnotationsViewController>();
    ASSERT_TRUE(map);
    ASSERT_EQ(map->placemarks.size(), 2u);
    EXPECT_EQ(map->placemarks[0].coordinate.latitude, 48.1373932);
    EXPECT_EQ(map->placemarks[1].coordinate.longitude, 151.210787);
}

// Answers each address only when the test lets it, so answers can come in any order.
class GatedGeocoding : public platform::GeocodingService {
public:
    std::variant<std::vector<platform::Placemark>, std::string> geocode(const std::string& address) override {
        return gate(address).get_future().get();
    }
    std::promise<std::variant<std::vector<platform::Placemark>, std::string>>& gate(const std::string& address) {
        std::lock_guard lock(mutex_);
        return gates_[address];
    }
    void release(const std::string& address, double latitude, double longitude) {
        gate(address).set_value(std::vector<platform::Placemark>{{{latitude, longitude}, address, address}});
    }

private:
    std::mutex mutex_;
    std::map<std::string, std::promise<std::variant<std::vector<platform::Placemark>, std::string>>> gates_;
};

TEST(WizardWaypoints, PlacesAreAddedInTheOrderTheirAnswersArrive) {
    WizardFixture w;
    auto gated = std::make_shared<GatedGeocoding>();
    w.f.app.t.env().geocoding = gated;
    ASSERT_TRUE(w.waypoints());
    // Both asked before either answers.
    gated->gate("first");
    gated->gate("second");
    w.f.driver.type("adress", "first");
    EXPECT_TRUE(w.f.driver.tap("addButton"));
    w.f.driver.type("adress", "second");
    EXPECT_TRUE(w.f.driver.tap("addButton"));
    gated->release("second", 2, 20);
    EXPECT_TRUE(w.f.app.t.loop().runUntil([&] { return w.f.driver.rows("waypointsTableView").size() == 1; }));
    gated->release("first", 1, 10);
    w.f.app.t.settle();
    EXPECT_EQ(w.f.driver.rows("waypointsTableView"),
              (std::vector<std::string>{"2.000000 - 20.000000", "1.000000 - 10.000000"}));
}

TEST(Wizard, FromTheGroupListThroughEveryStepBackToTheListWithTheNewGroup) {
    WizardFixture w;
    auto& http = w.f.app.t.http();
    w.nominatim.place("Odeonsplatz", 48.1425, 11.5775);
    w.nominatim.place("Chinesischer Turm", 48.1527, 11.5920);
    http.queueJSONForAction(301, json::array());
    http.queueJSONForAction(
        501, json{{"Contacts", json::array({AppFixture::userJSON("6", "Bob"), AppFixture::userJSON("7", "Cleo")})}});
    auto list = std::make_shared<GroupsTableViewController>();
    list->setStoryboard(w.f.storyboard);
    auto navigation = platform::ui::NavigationController::initWithRootViewController(list);
    w.f.window->setRootViewController(navigation);
    w.f.app.t.settle();

    EXPECT_TRUE(w.tap("newGroup"));
    EXPECT_TRUE(w.tap("plannedGroup"));
    w.f.driver.type("groupTitle", "Beer garden");
    EXPECT_TRUE(w.f.driver.pickRow("type", 2));
    EXPECT_TRUE(w.tap("next"));
    EXPECT_EQ(w.f.driver.rows("contactsTableView"), (std::vector<std::string>{"Bob", "Cleo"}));
    EXPECT_TRUE(w.f.driver.tapRow("contactsTableView", 1));
    EXPECT_TRUE(w.tap("next"));
    const auto start = w.f.app.t.env().mainQueue->now() + 1h;
    EXPECT_TRUE(w.f.driver.pickDate("start", start));
    EXPECT_TRUE(w.f.driver.pickDate("end", start + 5h));
    EXPECT_TRUE(w.tap("next"));
    w.enter("Odeonsplatz");
    w.enter("Chinesischer Turm");
    EXPECT_TRUE(w.tap("next"));
    ASSERT_EQ(w.f.driver.frontmostClass(), "AddAnnotationsViewController");

    http.queueJSONForAction(300, json{{"code", 0}, {"groupID", "44"}, {"wordOne", "kelp"}, {"wordTwo", "otter"}});
    EXPECT_TRUE(w.tap("create"));
    EXPECT_EQ(w.f.driver.alertTitle(), "kelp otter");
    ASSERT_EQ(w.f.app.sent(300), 1u);
    EXPECT_EQ(w.f.app.field(300, "description"), "Beer garden");
    EXPECT_EQ(w.f.app.field(300, "groupType"), "3");
    EXPECT_EQ(w.f.app.field(300, "startTime"), DateFormat::formatWire(start));
    EXPECT_EQ(w.f.app.field(300, "endTime"), DateFormat::formatWire(start + 5h));
    ASSERT_EQ(w.f.app.sent(400), 2u);
    ASSERT_EQ(w.f.app.sent(306), 1u);
    EXPECT_EQ(w.f.app.field(306, "inviteID"), "7");
    EXPECT_EQ(w.f.app.field(306, "groupID"), "44");

    const size_t loads = w.f.app.sent(301);
    http.queueJSONForAction(301, json::array({GroupsFixture::group("44", "Beer garden")}));
    EXPECT_TRUE(w.f.driver.chooseAlertAction("OK"));
    w.f.app.t.settle();
    EXPECT_EQ(w.f.stack(), (std::vector<std::string>{"GroupsTableViewController"}));
    EXPECT_EQ(w.f.app.sent(301), loads + 1);
    EXPECT_EQ(w.f.driver.rows("groupsTableView"), (std::vector<std::string>{"Beer garden"}));
}

}  // namespace
}  // namespace kelpa::testing
