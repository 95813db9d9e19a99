// Refused requests get code 1 with a clear text and leave the database exactly as it was.
#include <gmock/gmock.h>

#include "server/WallClock.h"
#include "tests/server/TestJpeg.h"
#include "tests/server/TripFixture.h"

namespace kelpa::server::testing {
namespace {

using nlohmann::json;
using Fields = HttpTestClient::Fields;

class RefusalTest : public ServerFixture {
protected:
    void SetUp() override {
        ServerFixture::SetUp();
        if (IsSkipped()) return;
        owner = std::make_unique<Installation>(install());
        other = std::make_unique<Installation>(install());
        owner->registerEmail("owner@example.org", "Owner");
        other->registerEmail("other@example.org", "Other");
        const auto now = WallClock::now();
        group = owner->call(300, {{"description", "Trip"},
                                  {"startTime", WallClock::format(now - 60)},
                                  {"endTime", WallClock::format(now + 3600)},
                                  {"groupType", "1"}})
                    .at("groupID");
        owner->call(305, {{"groupID", group}});
        owner->call(200, {{"lati", "1.5"}, {"longi", "2.5"}});
    }

    // Sends the fields in the client's order, with the given user and device.
    json send(const Fields& fields, const std::string& user, const std::string& device) {
        Fields all = fields;
        all.emplace_back("userID", user);
        all.emplace_back("deviceID", device);
        return owner->http().post(HttpTestClient::formEncode(all)).json();
    }

    std::unique_ptr<Installation> owner, other;
    std::string group;
};

struct Case {
    const char* name;
    Fields fields;        // "{group}" stands for the test group's identifier
    const char* user;     // "owner", "other" or a literal identifier
    const char* device;   // "owner" or a literal device identifier
    const char* info;
};

TEST_P(RefusalTest, RefusedRequestsChangeNothing) {
    const std::string longText(1001, 'x');
    const std::vector<Case> cases = {
        {"another user's identifier on this device", {{"action", "200"}, {"lati", "3"}, {"longi", "4"}}, "other", "owner", "Not signed in on this device"},
        {"unknown user", {{"action", "303"}, {"groupID", "{group}"}}, "987654", "owner", "Not signed in on this device"},
        {"unknown device", {{"action", "303"}, {"groupID", "{group}"}}, "owner", "00000000000000000000000000000000", "Not signed in on this device"},
        {"sign-in by identifier from another device", {{"action", "101"}}, "owner", "11111111111111111111111111111111", "No such user"},
        {"unknown action", {{"action", "999"}}, "owner", "owner", "Unknown action"},
        {"action is not a number", {{"action", "30x"}}, "owner", "owner", "Malformed field action"},
        {"missing field", {{"action", "300"}, {"startTime", "2030-01-01T00:00:00"}, {"endTime", "2030-01-02T00:00:00"}, {"groupType", "1"}}, "owner", "owner", "Missing field description"},
        {"malformed identifier", {{"action", "303"}, {"groupID", "1 OR 1=1"}}, "owner", "owner", "Malformed field groupID"},
        {"malformed date", {{"action", "300"}, {"description", "x"}, {"startTime", "2030-13-01T00:00:00"}, {"endTime", "2030-12-02T00:00:00"}, {"groupType", "1"}}, "owner", "owner", "Malformed field startTime"},
        {"travel mode out of range", {{"action", "300"}, {"description", "x"}, {"startTime", "2030-01-01T00:00:00"}, {"endTime", "2030-01-02T00:00:00"}, {"groupType", "4"}}, "owner", "owner", "Field groupType is out of range"},
        {"window ends before it starts", {{"action", "300"}, {"description", "x"}, {"startTime", "2030-01-02T00:00:00"}, {"endTime", "2030-01-01T00:00:00"}, {"groupType", "1"}}, "owner", "owner", "The group ends before it starts"},
        {"message over the limit", {{"action", "600"}, {"text", longText}, {"toUserID", "1"}}, "owner", "owner", "Field text is too long"},
        {"name over the limit", {{"action", "103"}, {"displayName", std::string(65, 'n')}}, "owner", "owner", "Field displayName is too long"},
        {"text that is not UTF-8", {{"action", "103"}, {"displayName", "\xff\xfe"}}, "owner", "owner", "Malformed text in field displayName"},
        {"latitude out of range", {{"action", "200"}, {"lati", "90.0001"}, {"longi", "0"}}, "owner", "owner", "Field lati is out of range"},
        {"longitude out of range", {{"action", "200"}, {"lati", "0"}, {"longi", "-180.5"}}, "owner", "owner", "Field longi is out of range"},
        {"coordinate not a number", {{"action", "200"}, {"lati", "nan"}, {"longi", "0"}}, "owner", "owner", "Malformed field lati"},
        {"waypoint out of range", {{"action", "400"}, {"groupID", "{group}"}, {"lati", "0"}, {"longi", "200"}}, "owner", "owner", "Field longi is out of range"},
        {"malformed device identifier", {{"action", "301"}}, "owner", "XYZ", "Malformed field deviceID"},
        {"positions of a group one is not in", {{"action", "201"}, {"groupID", "{group}"}}, "other", "other", "Not a member of this group"},
        {"deleting a group one does not lead", {{"action", "303"}, {"groupID", "{group}"}}, "other", "other", "Not a member of this group"},
        {"joining a group one is not in", {{"action", "305"}, {"groupID", "{group}"}}, "other", "other", "Not a member of this group"},
        {"wrong secret words", {{"action", "311"}, {"wordOne", "no"}, {"wordTwo", "such"}}, "other", "other", "No open group has these words"},
        {"unverified phone number", {{"action", "112"}, {"phoneNumber", "+4912345678"}, {"code", "1234"}}, "owner", "owner", "This number has no valid code, ask for a new one"},
        {"message to a stranger", {{"action", "600"}, {"text", "hi"}, {"toUserID", "987654"}}, "owner", "owner", "No such user"},
        {"adding oneself", {{"action", "500"}, {"contactID", "{owner}"}}, "owner", "owner", "Cannot add self"},
        {"picture without a picture", {{"action", "108"}}, "owner", "owner", "Missing field image"},
    };
    const std::string before = database->snapshot();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Fields fields;
        for (auto [k, v] : c.fields) {
            if (v == "{group}") v = group;
            if (v == "{owner}") v = owner->userId();
            fields.emplace_back(k, v);
        }
        const std::string user = c.user == std::string("owner") ? owner->userId()
                                 : c.user == std::string("other") ? other->userId() : c.user;
        const std::string device = c.device == std::string("owner") ? owner->deviceId()
                                   : c.device == std::string("other") ? other->deviceId() : c.device;
        const auto reply = send(fields, user, device);
        EXPECT_EQ(reply.value("info", ""), c.info);
        EXPECT_NE(reply.value("code", 0), 0);
        EXPECT_EQ(database->snapshot(), before);
    }
}

TEST_P(RefusalTest, MalformedBodiesAreRefused) {
    const std::string before = database->snapshot();
    const std::vector<std::pair<std::string, std::string>> bodies = {
        {"action=300&description=%zz&deviceID=" + owner->deviceId(), "Malformed request body"},
        {"action=103&action=103&deviceID=" + owner->deviceId(), "Malformed request body"},
        {"action=103&userID=" + owner->userId(), "Missing field deviceID"},
        {"", "Missing field action"},
    };
    for (const auto& [body, info] : bodies) {
        SCOPED_TRACE(body);
        const auto reply = owner->http().post(body).json();
        EXPECT_EQ(reply, (json{{"code", 1}, {"info", info}}));
    }
    // Over the size limit: refused before the body is read.
    const auto big = owner->http().post("action=103&displayName=" + std::string(300 * 1024, 'a'));
    EXPECT_EQ(big.status, 413);
    EXPECT_EQ(big.json(), (json{{"code", 1}, {"info", "Request too large"}}));
    // Uploads that are not JPEG images.
    for (const std::string& notJpeg : {std::string("GIF89a") + std::string(400, '\1'),
                                       std::string("\xff\xd8\xff\xe0") + std::string(400, '\0')}) {
        EXPECT_EQ(owner->uploadPicture(notJpeg), (json{{"code", 1}, {"info", "The picture is not a JPEG image"}}));
    }
    EXPECT_EQ(owner->http().get("/Profiles/" + owner->userId()).status, 404);
    EXPECT_EQ(database->snapshot(), before);
}

TEST_P(RefusalTest, SqlMetacharactersAreKeptAsText) {
    const std::string evil = "x'); DROP TABLE users; -- \" ; SELECT * FROM users WHERE '1'='1 %_\\";
    owner->call(500, {{"contactID", other->userId()}});
    const auto now = WallClock::now();
    EXPECT_EQ(owner->call(103, {{"displayName", evil.substr(0, 64)}}), (json{{"code", 0}}));
    const auto created = owner->call(300, {{"description", evil}, {"startTime", WallClock::format(now)},
                                           {"endTime", WallClock::format(now + 60)}, {"groupType", "2"}});
    ASSERT_EQ(created.at("code"), 0);
    EXPECT_EQ(owner->call(600, {{"text", evil}, {"toUserID", other->userId()}}), (json{{"code", 0}}));
    EXPECT_EQ(other->call(311, {{"wordOne", evil.substr(0, 40)}, {"wordTwo", evil.substr(0, 40)}}).at("code"), 1);
    EXPECT_EQ(other->anonymous(104, {{"email", "x');--\"%_@x"}, {"password", evil}}).at("code"), 2);
    const auto [token, secret] = social->twitterToken(evil.substr(0, 64));
    EXPECT_EQ(other->anonymous(102, {{"socialType", "1"}, {"socialID", evil.substr(0, 64)}, {"socialToken", token},
                                     {"socialTokenSecret", secret}}).at("code"), 2);
    EXPECT_EQ(owner->call(111, {{"Numbers", evil}}), json::array());
    EXPECT_EQ(owner->call(110, {{"body", "1234"}, {"target", evil.substr(0, 30)}}).at("info"), "Malformed field target");

    EXPECT_EQ(owner->call(101).at("displayName"), evil.substr(0, 64));
    EXPECT_EQ(owner->call(312, {{"loadID", created.at("groupID")}}).at("description"), evil);
    EXPECT_EQ(other->call(601, {{"toUserID", owner->userId()}}).at(0).at("text"), evil);
    EXPECT_EQ(other->call(107).size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Server, RefusalTest, ::testing::Values("sqlite", "postgresql"), engineName);

}  // namespace
}  // namespace kelpa::server::testing
