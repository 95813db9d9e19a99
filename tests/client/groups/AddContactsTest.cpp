// The second step of planning a group: the creator's contacts and, when asked for, the users
// nearby are listed once each; the ticked ones go on to the next step, in the order ticked.
#include "PresenceAdvertiser.h"
#include "WizardFixture.h"

#include "platform/FormEncoding.h"
#include "platform/Image.h"

#include <map>

namespace kelpa::testing {
namespace {

using Presence = PresenceAdvertiser;

struct AddContacts : ::testing::Test {
    // The service knows these users by identifier (action 114); any other lookup gets no reply.
    void knownUsers(std::map<std::string, std::string> names) {
        w.f.app.t.http().setResponder([names](const platform::HttpRequest& request) -> std::optional<platform::HttpResponse> {
            const auto form = platform::FormEncoding::decode(request.body);
            if (platform::FakeHttpClient::field(form, "action") != "114") return std::nullopt;
            const auto id = platform::FakeHttpClient::field(form, "loadID").value_or("");
            auto found = names.find(id);
            if (found == names.end()) return std::nullopt;
            return platform::HttpResponse{200, AppFixture::userJSON(id, found->second).dump()};
        });
    }
    void contactsAre(const std::vector<std::pair<std::string, std::string>>& users) {
        json list = json::array();
        for (const auto& [id, name] : users) list.push_back(AppFixture::userJSON(id, name));
        w.f.app.t.http().queueJSONForAction(501, json{{"Contacts", list}});
    }
    AddContactsToGroupViewController* open(bool bluetooth) {
        if (!w.details()) return nullptr;
        if (bluetooth) w.f.driver.tap("bluetooth");
        w.f.driver.type("groupTitle", "Tour");
        EXPECT_TRUE(w.tap("next"));
        return w.front<AddContactsToGroupViewController>();
    }
    std::vector<std::string> rows() const { return w.f.driver.rows("contactsTableView"); }
    std::vector<std::string> selectedIDs(const AddContactsToGroupViewController& screen) const {
        std::vector<std::string> ids;
        for (const auto& user : screen.selectedContacts) ids.push_back(user->userID.value_or("?"));
        return ids;
    }

    WizardFixture w;
};

TEST_F(AddContacts, WithoutTheBoxOnlyContactsAreListedAndNoRadioIsUsed) {
    auto nearby = Presence::of("8");
    knownUsers({{"8", "Dan"}});
    contactsAre({{"6", "Bob"}, {"7", "Cleo"}});
    auto* screen = open(false);
    ASSERT_TRUE(screen);
    EXPECT_FALSE(screen->centralManager);
    EXPECT_TRUE(screen->contactsTableView->allowsMultipleSelection());
    EXPECT_EQ(rows(), (std::vector<std::string>{"Bob", "Cleo"}));
    EXPECT_EQ(w.f.app.sent(114), 0u);
}

TEST_F(AddContacts, NearbyUsersJoinTheContactsOnceEachAndFailedLookupsAddNothing) {
    // Bob is a contact and nearby; Dan is only nearby; nobody answers for 9.
    auto bob = Presence::of("6");
    auto dan = Presence::of("8");
    auto unknown = Presence::of("9");
    knownUsers({{"6", "Bob"}, {"8", "Dan"}});
    contactsAre({{"6", "Bob"}, {"7", "Cleo"}});
    auto* screen = open(true);
    ASSERT_TRUE(screen);
    ASSERT_TRUE(screen->centralManager);
    w.f.app.t.loop().runFor(std::chrono::seconds(2));
    w.f.app.t.settle();
    EXPECT_TRUE(w.f.app.t.logged("CoreBluetooth BLE hardware is powered on and ready"));
    EXPECT_EQ(w.f.app.sent(114), 3u);
    EXPECT_EQ(rows(), (std::vector<std::string>{"Bob", "Cleo", "Dan"}));
    EXPECT_TRUE(screen->centralManager->isScanning());
}

TEST_F(AddContacts, ContactsThatDoNotLoadLeaveTheNearbyUsers) {
    auto dan = Presence::of("8");
    knownUsers({{"8", "Dan"}});
    auto* screen = open(true);
    ASSERT_TRUE(screen);
    w.f.app.t.loop().runFor(std::chrono::seconds(2));
    w.f.app.t.settle();
    EXPECT_EQ(rows(), (std::vector<std::string>{"Dan"}));
}

TEST_F(AddContacts, EachRowShowsItsCandidatesPicture) {
    const platform::Image square{3, 3, std::vector<std::uint8_t>(36, 200)};
    const auto jpeg = platform::ImageCodec::encodeJPEG(square, 1.0);
    ASSERT_TRUE(jpeg);
    w.f.app.t.http().setResponder([&](const platform::HttpRequest& request) -> std::optional<platform::HttpResponse> {
        if (request.url.ends_with("/Profiles/7")) return platform::HttpResponse{200, *jpeg, {{"Content-Type", "image/jpeg"}}};
        if (request.url.find("/Profiles/") != std::string::npos) return platform::HttpResponse{404, ""};
        return std::nullopt;
    });
    contactsAre({{"6", "Bob"}, {"7", "Cleo"}});
    auto* screen = open(false);
    ASSERT_TRUE(screen);
    auto picture = [&](int row) { return screen->contactsTableView->cellForRowAtIndexPath({0, row})->imageView().image(); };
    ASSERT_TRUE(picture(0));
    ASSERT_TRUE(picture(1));
    EXPECT_EQ(*picture(0), *User::getDefaultProfileImage());
    EXPECT_EQ(picture(1)->width, 3);
}

TEST_F(AddContacts, TicksAndUnticksReachTheNextStepExactly) {
    contactsAre({{"6", "Bob"}, {"7", "Cleo"}, {"8", "Dan"}});
    auto* screen = open(false);
    ASSERT_TRUE(screen);
    EXPECT_TRUE(w.f.driver.tapRow("contactsTableView", 2));
    EXPECT_TRUE(w.f.driver.tapRow("contactsTableView", 0));
    EXPECT_TRUE(w.f.driver.tapRow("contactsTableView", 1));
    EXPECT_TRUE(w.f.driver.tapRow("contactsTableView", 2));
    EXPECT_EQ(rows(), (std::vector<std::string>{"Bob ✓", "Cleo ✓", "Dan"}));
    EXPECT_EQ(selectedIDs(*screen), (std::vector<std::string>{"6", "7"}));
    EXPECT_TRUE(w.tap("next"));
    auto* step3 = w.front<AddStartEndViewController>();
    ASSERT_TRUE(step3);
    ASSERT_EQ(step3->users.size(), 2u);
    EXPECT_EQ(step3->users[0], screen->contacts[0]);
    EXPECT_EQ(step3->users[1], screen->contacts[1]);
    EXPECT_EQ(step3->group, screen->group);

    // Back again: the contacts are asked anew, nothing is listed twice, the ticks stay.
    EXPECT_TRUE(w.f.driver.goBack());
    w.f.app.t.settle();
    EXPECT_EQ(rows(), (std::vector<std::string>{"Bob ✓", "Cleo ✓", "Dan"}));
    EXPECT_TRUE(w.f.driver.tapRow("contactsTableView", 0));
    EXPECT_TRUE(w.tap("next"));
    ASSERT_TRUE(w.front<AddStartEndViewController>());
    ASSERT_EQ(w.front<AddStartEndViewController>()->users.size(), 1u);
    EXPECT_EQ(w.front<AddStartEndViewController>()->users[0]->userID, "7");
}

TEST_F(AddContacts, ATickSurvivesANearbyUserArrivingAndATapStillUnticks) {
    contactsAre({{"6", "Bob"}});
    knownUsers({{"8", "Dan"}});
    auto* screen = open(true);
    ASSERT_TRUE(screen);
    EXPECT_TRUE(w.f.driver.tapRow("contactsTableView", 0));
    auto dan = Presence::of("8");
    w.f.app.t.loop().runFor(std::chrono::seconds(2));
    w.f.app.t.settle();
    EXPECT_EQ(rows(), (std::vector<std::string>{"Bob ✓", "Dan"}));
    EXPECT_TRUE(w.f.driver.tapRow("contactsTableView", 0));
    EXPECT_EQ(rows(), (std::vector<std::string>{"Bob", "Dan"}));
    EXPECT_TRUE(screen->selectedContacts.empty());
}

}  // namespace
}  // namespace kelpa::testing
