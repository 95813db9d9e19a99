#include "client/model/Device.h"
#include "client/model/Group.h"
#include "client/model/Member.h"
#include "client/model/Message.h"
#include "client/model/Position.h"
#include "client/model/User.h"
#include "client/model/Waypoint.h"
#include "client/service/DateFormat.h"

#include <gtest/gtest.h>

using namespace kelpa;
using json = nlohmann::json;

namespace {
json userJSON(const std::string& id) {
    return {{"userID", id}, {"displayName", "Ann"}, {"phoneNumber", "+4930123"},
            {"registrationFromSocial", false}, {"registrationCompleted", "1"}};
}

json memberJSON(const std::string& id, json device, std::optional<json> joined, bool leader = false) {
    json m = {{"User", userJSON(id)}, {"Device", std::move(device)}, {"groupID", 17}, {"isLeader", leader}};
    if (joined) m["joined"] = *joined;
    return m;
}

const json kDevice = {{"deviceID", "D1"},
                      {"Position", {{"deviceID", "D1"}, {"lati", 52.5}, {"longi", "13.4"}, {"synchronized", "2026-03-02T09:00:00"}}}};
}  // namespace

TEST(RecordMapping, UserReadsSocialFieldsOnlyForSocialRegistrations) {
    json emailJSON = userJSON("5");
    emailJSON.update({{"socialID", "fb1"}, {"socialType", 0}});
    auto email = User::initWithJSON(emailJSON);
    EXPECT_EQ(email->userID, "5");
    EXPECT_EQ(email->displayName, "Ann");
    EXPECT_TRUE(email->registrationCompleted);
    EXPECT_FALSE(email->socialID);
    EXPECT_EQ(email->socialType, -1);
    EXPECT_FALSE(email->contacts);
    EXPECT_FALSE(email->groups);

    auto social = User::initWithJSON({{"userID", "6"}, {"registrationFromSocial", true}, {"socialID", "tw9"}, {"socialType", "1"}});
    EXPECT_EQ(social->socialID, "tw9");
    EXPECT_EQ(social->socialType, 1);
    EXPECT_EQ(social->getSocialTypeAsString(), "twitter");
    EXPECT_FALSE(social->phoneNumber);
}

TEST(RecordMapping, GroupAlwaysHasListsAndItsTypeText) {
    auto bare = Group::initWithJSON({{"groupID", 17}, {"description", "Alps"}, {"startTime", "2026-03-02T08:00:00"}});
    EXPECT_EQ(bare->groupID, "17");
    EXPECT_EQ(bare->jDescription, "Alps");
    ASSERT_TRUE(bare->members && bare->waypoints);
    EXPECT_TRUE(bare->members->empty());
    EXPECT_TRUE(bare->waypoints->empty());
    EXPECT_EQ(DateFormat::formatWire(*bare->startTime), "2026-03-02T08:00:00");
    EXPECT_FALSE(bare->endTime);
    EXPECT_EQ(bare->GroupType, 0);

    const std::pair<json, std::string> types[] = {{1, "Car"}, {2, "Bike"}, {3, "Pedestrian"}, {4, "UNDEFINED"}, {"2", "Bike"}};
    for (const auto& [type, text] : types) {
        EXPECT_EQ(Group::initWithJSON({{"groupType", type}})->getStringFromType(), text) << type;
    }
    EXPECT_EQ(Group::initWithJSON(json::object())->getStringFromType(), "UNDEFINED");
    EXPECT_EQ(Group::initWithJSON(json::object())->groupID, "(null)");
    // null lists count as missing
    EXPECT_TRUE(Group::initWithJSON({{"Members", nullptr}})->members->empty());
}

TEST(RecordMapping, MemberJoinedStateFollowsTheDevice) {
    struct Case {
        const char* what;
        json member;
        bool hasDevice;
        bool joined;
    };
    const Case cases[] = {
        {"device and join time", memberJSON("1", kDevice, json("2026-03-02T09:00:00")), true, true},
        {"device and null join", memberJSON("1", kDevice, json(nullptr)), true, true},
        {"device without join", memberJSON("1", kDevice, std::nullopt), true, false},
        {"null device ignores join", memberJSON("1", nullptr, json("2026-03-02T09:00:00")), false, false},
    };
    for (const auto& c : cases) {
        auto member = Member::initWithJSON(c.member);
        EXPECT_EQ(member->device != nullptr, c.hasDevice) << c.what;
        EXPECT_EQ(member->joined.has_value(), c.joined) << c.what;
        EXPECT_EQ(member->groupID, "17") << c.what;
    }
    auto member = Member::initWithJSON(memberJSON("1", kDevice, json("x"), true));
    EXPECT_TRUE(member->isLeader);
    ASSERT_TRUE(member->device && member->device->position);
    EXPECT_EQ(member->device->deviceID, "D1");
    EXPECT_EQ(member->device->position->lati, 52.5);
    EXPECT_EQ(member->device->position->longi, 13.4);
    EXPECT_TRUE(member->device->position->synchronized);
    EXPECT_FALSE(member->device->user);
}

TEST(RecordMapping, MissingNestedObjectsStillGiveRecords) {
    auto member = Member::initWithJSON(json::object());
    ASSERT_TRUE(member->user);
    EXPECT_FALSE(member->user->userID);
    ASSERT_TRUE(member->device);  // missing, not null
    EXPECT_EQ(member->device->deviceID, "(null)");
    ASSERT_TRUE(member->device->position);
    EXPECT_EQ(member->device->position->deviceID, "(null)");
    EXPECT_FALSE(member->device->position->lati);
    EXPECT_EQ(member->groupID, "(null)");
}

TEST(RecordMapping, MembershipTestsCompareIdentifiersExactly) {
    auto group = Group::initWithJSON({{"Members",
                                       {memberJSON("7", nullptr, std::nullopt, true), memberJSON("8", kDevice, json("t")),
                                        memberJSON("8", nullptr, std::nullopt)}}});
    User leader, joined, stranger, noID;
    leader.userID = "7";
    joined.userID = "8";
    stranger.userID = "07";
    EXPECT_TRUE(group->isLeadingUser(leader));
    EXPECT_FALSE(group->userIsJoined(leader));
    EXPECT_TRUE(group->userIsJoined(joined));
    EXPECT_FALSE(group->isLeadingUser(joined));
    EXPECT_EQ(group->getMemberFromUser(joined), group->members->at(1));
    EXPECT_FALSE(group->userIsAlreadyInGroup(stranger));
    EXPECT_FALSE(group->userIsAlreadyInGroup(noID));

    Group local;  // made locally: no members list at all
    EXPECT_FALSE(local.userIsAlreadyInGroup(leader));
    EXPECT_EQ(local.getMemberFromUser(leader), nullptr);
}

TEST(RecordMapping, WaypointsAndMessagesKeepIdentifiersAsText) {
    auto waypoint = Waypoint::initWithJSON({{"waypointID", 3}, {"lati", "47.1"}, {"longi", 11.2}, {"number", 2}, {"groupID", "17"}});
    EXPECT_EQ(waypoint->waypointID, "3");
    EXPECT_EQ(waypoint->lati, 47.1);
    EXPECT_EQ(waypoint->number, 2.0);

    auto message = Message::initWithJSON({{"messageID", 12}, {"text", "hi"}, {"fromUserID", "5"}, {"toUserID", "6"},
                                          {"sent", "2026-03-02T09:00:00.123"}});
    EXPECT_EQ(message->messageID, "12");
    EXPECT_EQ(message->text, "hi");
    EXPECT_EQ(message->fromUserID, "5");
    EXPECT_FALSE(message->sent);  // fractional seconds are not the pattern
}

TEST(RecordMapping, GroupWithMembersAndWaypointsInOrder) {
    auto group = Group::initWithJSON({{"Members", {memberJSON("1", nullptr, std::nullopt), memberJSON("2", kDevice, json("t"))}},
                                      {"Waypoints", {{{"waypointID", "a"}}, {{"waypointID", "b"}}}}});
    ASSERT_EQ(group->members->size(), 2u);
    EXPECT_EQ(group->members->at(1)->user->userID, "2");
    ASSERT_EQ(group->waypoints->size(), 2u);
    EXPECT_EQ(group->waypoints->at(1)->waypointID, "b");
}
