#include "TestEnvironment.h"

#include "client/model/Device.h"
#include "client/model/Message.h"
#include "client/model/Position.h"
#include "client/model/User.h"
#include "client/service/API.h"

#include <gtest/gtest.h>

using namespace kelpa;
using platform::FakeHttpClient;
using json = nlohmann::json;

namespace {
struct Outcome {
    int calls = 0;
    std::int32_t code = -1;
    Info info;
    bool onMain = false;
};

class RecordOperations : public ::testing::Test {
protected:
    RecordOperations() {
        auto me = std::make_shared<User>();
        me->userID = "5";
        User::setCurrentUser(me);
    }
    StatusHandler recordInto(Outcome& outcome) {
        return [this, &outcome](std::int32_t code, Info info) {
            ++outcome.calls;
            outcome.code = code;
            outcome.info = std::move(info);
            outcome.onMain = t.loop().isMainThread();
        };
    }
    kelpa::testing::TestEnvironment t;
};
}  // namespace

TEST_F(RecordOperations, PositionReportSendsCoordinatesAndTakesThemOnSuccessOnly) {
    struct Case {
        const char* what;
        std::optional<json> reply;
        std::int32_t code;
        Info info;
        bool moved;
    };
    const Case cases[] = {
        {"success", json{{"code", 0}}, 0, std::nullopt, true},
        {"refused", json{{"code", 1}, {"info", "not joined"}}, 1, "not joined", false},
        {"no reply", std::nullopt, 1, "Unknown Error", false},
    };
    for (const auto& c : cases) {
        kelpa::testing::TestEnvironment fresh;
        auto me = std::make_shared<User>();
        me->userID = "5";
        User::setCurrentUser(me);
        if (c.reply) fresh.http().queueJSON(*c.reply);
        auto position = Position::initWithJSON({{"deviceID", "D"}, {"lati", 1.0}, {"longi", 2.0}});
        const auto synchronizedBefore = position->synchronized;
        Outcome outcome;
        position->updatePositionToLatitude(52.52, 13.405, [&](std::int32_t code, Info info) {
            ++outcome.calls;
            outcome.code = code;
            outcome.info = info;
            outcome.onMain = fresh.loop().isMainThread();
        });
        fresh.settle();
        EXPECT_EQ(outcome.calls, 1) << c.what;
        EXPECT_TRUE(outcome.onMain) << c.what;
        EXPECT_EQ(outcome.code, c.code) << c.what;
        EXPECT_EQ(outcome.info, c.info) << c.what;
        EXPECT_EQ(position->lati, c.moved ? 52.52 : 1.0) << c.what;
        EXPECT_EQ(position->longi, c.moved ? 13.405 : 2.0) << c.what;
        EXPECT_EQ(position->synchronized, synchronizedBefore) << c.what;

        const auto forms = fresh.http().formsForAction(200);
        ASSERT_EQ(forms.size(), 1u) << c.what;
        EXPECT_EQ(FakeHttpClient::field(forms[0], "lati"), "52.52");
        EXPECT_EQ(FakeHttpClient::field(forms[0], "longi"), "13.405");
        EXPECT_EQ(FakeHttpClient::field(forms[0], "userID"), "5");
        EXPECT_FALSE(FakeHttpClient::field(forms[0], "deviceID") == "D");  // the installation, not the record
    }
}

TEST_F(RecordOperations, MessageSendReportsCodeAndInfoAndLeavesTheRecord) {
    auto message = std::make_shared<Message>();
    message->text = "see you at 5 & bring tea";
    message->toUserID = "6";

    Outcome ok, refused, lost;
    t.http().queueJSON({{"code", 0}});
    Message::sendMessage(message, recordInto(ok));
    t.settle();
    t.http().queueJSON({{"code", 1}, {"info", "not a contact"}});
    Message::sendMessage(message, recordInto(refused));
    t.settle();
    Message::sendMessage(message, recordInto(lost));
    t.settle();

    EXPECT_EQ(std::make_tuple(ok.calls, ok.code, ok.info, ok.onMain), std::make_tuple(1, 0, Info(), true));
    EXPECT_EQ(std::make_tuple(refused.calls, refused.code, refused.info), std::make_tuple(1, 1, Info("not a contact")));
    EXPECT_EQ(std::make_tuple(lost.calls, lost.code, lost.info), std::make_tuple(1, 1, Info("Unknown Error")));
    EXPECT_EQ(message->messageID, "");
    EXPECT_FALSE(message->sent);

    const auto forms = t.http().formsForAction(600);
    ASSERT_EQ(forms.size(), 3u);
    const platform::FormEncoding::Fields expectedStart = {
        {"action", "600"}, {"text", "see you at 5 & bring tea"}, {"toUserID", "6"}, {"userID", "5"}};
    EXPECT_TRUE(std::equal(expectedStart.begin(), expectedStart.end(), forms[0].begin()));
    EXPECT_EQ(forms[0].back().first, "deviceID");
}

TEST_F(RecordOperations, DeviceTokenIsLoggedAndSentAnonymouslyAsHex) {
    Device::updateDeviceToken(std::string("\x0A\xFF\x01", 3));
    EXPECT_TRUE(t.logged("0aff01"));  // logged at once, on the calling thread
    t.settle();
    const auto forms = t.http().formsForAction(106);
    ASSERT_EQ(forms.size(), 1u);
    EXPECT_EQ(FakeHttpClient::field(forms[0], "token"), "0aff01");
    EXPECT_EQ(FakeHttpClient::field(forms[0], "userID"), API::kAnonymousUserID);
}
