// Phone verification: the service texts only its own message with the client's code, and
// saves a number only for the user who types the code texted to it.
#include <atomic>
#include <fstream>
#include <thread>

#include <gmock/gmock.h>

#include "tests/server/TripFixture.h"

namespace kelpa::server::testing {
namespace {

using nlohmann::json;

const json kOk = {{"code", 0}};
const std::string kNumber = "+4915112345678";

class PhoneVerificationTest : public ServerFixture {
protected:
    void SetUp() override {
        ServerFixture::SetUp();
        if (IsSkipped()) return;
        ann = std::make_unique<Installation>(install());
        mallory = std::make_unique<Installation>(install());
        ann->registerEmail("ann@example.org", "Ann");
        mallory->registerEmail("mallory@example.org", "Mallory");
    }

    std::vector<json> outbox() const {
        std::vector<json> lines;
        std::ifstream in(server->outboxPath());
        for (std::string line; std::getline(in, line);) lines.push_back(json::parse(line));
        return lines;
    }
    json verify(Installation& who, const std::string& code, const std::string& number = kNumber) {
        return who.call(112, {{"phoneNumber", number}, {"code", code}});
    }
    // What the address book of a third user finds for the number.
    json matches(const std::string& number = kNumber) {
        Installation finder = install();
        finder.registerEmail("finder" + std::to_string(++finders) + "@example.org", "Finder");
        return finder.call(111, {{"Numbers", number}});
    }

    std::unique_ptr<Installation> ann, mallory;
    int finders = 0;
};

TEST_P(PhoneVerificationTest, OnlyTheFourDigitCodeIsTexted) {
    const std::string before = database->snapshot();
    for (const char* body : {"Your bank account is locked, log in at http://evil.example", "12345", "123",
                             "12a4", " 1234", "１２３４"}) {
        SCOPED_TRACE(body);
        EXPECT_EQ(ann->call(110, {{"body", body}, {"target", kNumber}}),
                  (json{{"code", 1}, {"info", "Field body must be the four-digit code"}}));
    }
    EXPECT_TRUE(outbox().empty());
    EXPECT_EQ(database->snapshot(), before);

    EXPECT_EQ(ann->call(110, {{"body", "4711"}, {"target", kNumber}}), kOk);
    ASSERT_EQ(outbox().size(), 1u);
    EXPECT_EQ(outbox()[0].at("to"), kNumber);
    EXPECT_EQ(outbox()[0].at("body"), "Your Kelpa verification code is 4711. It is valid for 15 minutes.");
}

TEST_P(PhoneVerificationTest, TheNumberIsSavedOnlyWithTheTextedCode) {
    // Mallory claims Ann's number: a number merely texted, or texted a code Mallory cannot read.
    EXPECT_EQ(mallory->call(112, {{"phoneNumber", kNumber}}), (json{{"code", 1}, {"info", "Missing field code"}}));
    EXPECT_EQ(verify(*mallory, "1234").at("info"), "This number has no valid code, ask for a new one");
    ASSERT_EQ(mallory->call(110, {{"body", "1234"}, {"target", kNumber}}), kOk);
    EXPECT_EQ(verify(*mallory, "9999"), (json{{"code", 1}, {"info", "The code is not the one sent to this number"}}));
    EXPECT_EQ(mallory->call(101).at("phoneNumber"), "");
    EXPECT_EQ(matches(), json::array());

    // Ann's own code, typed by Ann, is the only one that counts for Ann.
    ASSERT_EQ(ann->call(110, {{"body", "4711"}, {"target", kNumber}}), kOk);
    EXPECT_EQ(verify(*mallory, "4711").at("code"), 1);  // Ann's code does not work for Mallory
    EXPECT_EQ(verify(*ann, "1234").at("code"), 1);      // nor Mallory's for Ann
    EXPECT_EQ(verify(*ann, "4711"), kOk);
    EXPECT_EQ(ann->call(101).at("phoneNumber"), kNumber);
    const auto found = matches();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].at("userID"), ann->userId());
    // A used code is forgotten.
    EXPECT_EQ(verify(*ann, "4711").at("info"), "This number has no valid code, ask for a new one");
}

TEST_P(PhoneVerificationTest, ACodeAllowsAFewTriesAndOnlyTheLatestCounts) {
    ASSERT_EQ(ann->call(110, {{"body", "1111"}, {"target", kNumber}}), kOk);
    ASSERT_EQ(ann->call(110, {{"body", "2222"}, {"target", kNumber}}), kOk);
    EXPECT_EQ(verify(*ann, "1111").at("info"), "The code is not the one sent to this number");
    EXPECT_EQ(verify(*ann, "0000").at("code"), 1);
    EXPECT_EQ(verify(*ann, "0001").at("code"), 1);
    // Three tries are used up: even the right code no longer works, and nothing was saved.
    EXPECT_EQ(verify(*ann, "2222").at("info"), "This number has no valid code, ask for a new one");
    EXPECT_EQ(ann->call(101).at("phoneNumber"), "");
    // A new code gives new tries.
    ASSERT_EQ(ann->call(110, {{"body", "3333"}, {"target", kNumber}}), kOk);
    EXPECT_EQ(verify(*ann, "3333"), kOk);
}

TEST_P(PhoneVerificationTest, ACodeExpiresAfterFifteenMinutes) {
    ASSERT_EQ(ann->call(110, {{"body", "4711"}, {"target", kNumber}}), kOk);
    database->execute("UPDATE phone_codes SET sent = sent - 901");
    EXPECT_EQ(verify(*ann, "4711").at("info"), "This number has no valid code, ask for a new one");
    ASSERT_EQ(ann->call(110, {{"body", "4711"}, {"target", kNumber}}), kOk);
    database->execute("UPDATE phone_codes SET sent = sent - 890");
    EXPECT_EQ(verify(*ann, "4711"), kOk);
}

TEST_P(PhoneVerificationTest, ConcurrentGuessesGetNoMoreThanTheTries) {
    ASSERT_EQ(ann->call(110, {{"body", "4711"}, {"target", kNumber}}), kOk);
    std::vector<std::thread> guessers;
    std::atomic<int> wrongCodeReplies{0};
    for (int i = 0; i < 50; ++i) {
        guessers.emplace_back([&, i] {
            Installation same(server->port(), ann->deviceId());
            same.setUserId(ann->userId());
            const auto reply = verify(same, std::to_string(5000 + i));
            if (reply.value("info", "") == "The code is not the one sent to this number") ++wrongCodeReplies;
        });
    }
    for (auto& t : guessers) t.join();
    EXPECT_EQ(wrongCodeReplies.load(), 3);
    EXPECT_EQ(verify(*ann, "4711").at("code"), 1);
}

TEST_P(PhoneVerificationTest, CompletingRegistrationNeedsAVerifiedPhone) {
    const std::string before = database->snapshot();
    EXPECT_EQ(ann->call(113, {{"toUserID", "1"}}), (json{{"code", 1}, {"info", "Verify a phone number first"}}));
    EXPECT_EQ(database->snapshot(), before);
    EXPECT_EQ(ann->call(113, {{"toUserID", "0"}}), kOk);
    ASSERT_EQ(ann->call(110, {{"body", "4711"}, {"target", kNumber}}), kOk);
    ASSERT_EQ(verify(*ann, "4711"), kOk);
    EXPECT_EQ(ann->call(113, {{"toUserID", "1"}}), kOk);
    EXPECT_EQ(ann->call(101).at("registrationCompleted"), true);
}

INSTANTIATE_TEST_SUITE_P(Server, PhoneVerificationTest, ::testing::Values("sqlite", "postgresql"), engineName);

}  // namespace
}  // namespace kelpa::server::testing
