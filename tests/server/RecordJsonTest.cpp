#include "server/actions/RecordJson.h"

#include <gtest/gtest.h>

namespace kelpa::server {
namespace {

TEST(ServerRecordJsonTest, OtherUsersSeeNoPhoneNumberOrSocialIdentifier) {
    UserRow u{7, "Ann", "+491701234567", true, 0, "fb-1"};
    const auto self = RecordJson::user(u, true), other = RecordJson::user(u, false);
    EXPECT_EQ(self.at("phoneNumber"), "+491701234567");
    EXPECT_EQ(self.at("socialID"), "fb-1");
    EXPECT_EQ(other.at("phoneNumber"), "");
    EXPECT_EQ(other.at("socialID"), "");
    EXPECT_EQ(other.at("userID"), "7");
    EXPECT_EQ(other.at("registrationFromSocial"), true);
    EXPECT_EQ(other.at("socialType"), 0);
}

TEST(ServerRecordJsonTest, MemberCarriesDeviceOnlyWhileJoined) {
    MemberRow m;
    m.user.id = 3;
    m.groupId = 9;
    m.deviceId = 4;
    EXPECT_TRUE(RecordJson::member(m, 1).at("Device").is_null());
    EXPECT_FALSE(RecordJson::member(m, 1).contains("joined"));
    m.joined = 86400;
    m.position = PositionRow{4, 47.5, 11.25, 86400 + 61};
    const auto j = RecordJson::member(m, 1);
    EXPECT_EQ(j.at("joined"), "1970-01-02T00:00:00");
    EXPECT_EQ(j.at("Device").at("deviceID"), "4");
    EXPECT_EQ(j.at("Device").at("Position").at("deviceID"), "4");
    EXPECT_EQ(j.at("Device").at("Position").at("synchronized"), "1970-01-02T00:01:01");
    EXPECT_EQ(j.at("groupID"), "9");
}

}  // namespace
}  // namespace kelpa::server
