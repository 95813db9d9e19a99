// Social registration and sign-in (100, 102) through the real server: a social identifier is
// public, so only a token the network confirms for that account signs anybody in or binds a
// device, and a refused attempt changes nothing.
#include <gtest/gtest.h>

#include "tests/server/TripFixture.h"

namespace kelpa::server::testing {
namespace {

using nlohmann::json;
using Fields = HttpTestClient::Fields;

json refusal(const std::string& info) { return {{"code", 1}, {"info", info}}; }

class SocialSignInTest : public ServerFixture {
protected:
    // Registers the account with a token of its own; returns the new user identifier.
    std::string registerFacebook(Installation& device, const std::string& socialID) {
        const auto reply = device.anonymous(100, {{"socialID", socialID}, {"socialType", "0"}, {"displayName", "Ann"},
                                                  {"socialToken", social->facebookToken(socialID)}});
        return reply.value("userID", "");
    }
};

TEST_P(SocialSignInTest, AConfirmedTokenRegistersAndSignsInOnEitherNetwork) {
    Installation ann = install();
    const auto annID = registerFacebook(ann, "fb-ann");
    ASSERT_FALSE(annID.empty());
    // Signing in again later, on another device, with a new token.
    Installation annsTablet = install();
    const auto signedIn = annsTablet.anonymous(
        102, {{"socialType", "0"}, {"socialID", "fb-ann"}, {"socialToken", social->facebookToken("fb-ann")}});
    EXPECT_EQ(signedIn.value("userID", ""), annID);
    EXPECT_EQ(signedIn.value("registrationFromSocial", false), true);
    annsTablet.setUserId(annID);
    EXPECT_EQ(annsTablet.call(101).value("userID", ""), annID);

    Installation bob = install();
    const auto [token, secret] = social->twitterToken("2002");
    const auto bobID = bob.anonymous(100, {{"socialID", "2002"}, {"socialType", "1"}, {"displayName", "Bob"},
                                           {"socialToken", token}, {"socialTokenSecret", secret}});
    ASSERT_TRUE(bobID.contains("userID")) << bobID.dump();
    EXPECT_EQ(bob.anonymous(102, {{"socialType", "1"}, {"socialID", "2002"}, {"socialToken", token},
                                  {"socialTokenSecret", secret}}).value("userID", ""),
              bobID.at("userID"));
    // An account the service does not know yet is still "no such user" for the app to register.
    EXPECT_EQ(install().anonymous(102, {{"socialType", "0"}, {"socialID", "fb-new"},
                                        {"socialToken", social->facebookToken("fb-new")}}),
              (json{{"code", 2}, {"info", "No such user"}}));
}

TEST_P(SocialSignInTest, AnIdentifierWithoutTheAccountsTokenIsRefusedAndChangesNothing) {
    Installation ann = install();
    const auto annID = registerFacebook(ann, "fb-ann");
    ASSERT_FALSE(annID.empty());
    const auto [bobsToken, bobsSecret] = social->twitterToken("2002");
    const auto revoked = social->facebookToken("fb-ann");
    social->revoke(revoked);
    Installation thief = install();
    thief.anonymous(106, {{"token", "0aff"}});  // the thief's device is known to the service
    const std::string before = database->snapshot();
    const struct {
        const char* name;
        int action;
        Fields fields;
        json reply;
    } cases[] = {
        {"bare identifier", 102, {{"socialType", "0"}, {"socialID", "fb-ann"}}, refusal("Missing field socialToken")},
        {"bare identifier, registering", 100, {{"socialID", "fb-evil"}, {"socialType", "0"}, {"displayName", "E"}},
         refusal("Missing field socialToken")},
        {"the thief's own token", 102,
         {{"socialType", "0"}, {"socialID", "fb-ann"}, {"socialToken", social->facebookToken("fb-thief")}},
         refusal("Facebook did not confirm this account")},
        {"a token of another application", 102,
         {{"socialType", "0"}, {"socialID", "fb-ann"}, {"socialToken", social->facebookToken("fb-ann", "other-app")}},
         refusal("Facebook did not confirm this account")},
        {"a revoked token", 102, {{"socialType", "0"}, {"socialID", "fb-ann"}, {"socialToken", revoked}},
         refusal("Facebook did not confirm this account")},
        {"Twitter without the secret", 102, {{"socialType", "1"}, {"socialID", "2002"}, {"socialToken", bobsToken}},
         refusal("Missing field socialTokenSecret")},
        {"Twitter with a guessed secret", 100,
         {{"socialID", "2002"}, {"socialType", "1"}, {"displayName", "B"}, {"socialToken", bobsToken},
          {"socialTokenSecret", "guess"}},
         refusal("Twitter did not confirm this account")},
    };
    for (const auto& c : cases) EXPECT_EQ(thief.anonymous(c.action, c.fields), c.reply) << c.name;
    EXPECT_EQ(database->snapshot(), before);
    // Nothing was bound to the thief's device.
    thief.setUserId(annID);
    EXPECT_EQ(thief.call(101).value("code", 0), 2);
}

TEST_P(SocialSignInTest, ANetworkThatCannotBeReachedIsSaidSo) {
    Installation ann = install();
    const auto token = social->facebookToken("fb-ann");
    social->setDown(true);
    EXPECT_EQ(ann.anonymous(102, {{"socialType", "0"}, {"socialID", "fb-ann"}, {"socialToken", token}}),
              refusal("Facebook could not be reached, try again later"));
    social->setDown(false);
    EXPECT_EQ(ann.anonymous(102, {{"socialType", "0"}, {"socialID", "fb-ann"}, {"socialToken", token}}).value("code", 0),
              2);
}

TEST_P(SocialSignInTest, ANetworkWithoutAVerifierIsRefusedWithoutAsking) {
    // The same service configured for Facebook only.
    server->terminate();
    server = std::make_unique<ServerProcess>(
        database->url(), database->directory(),
        std::vector<std::string>{"--social-config", social->writeConfig(database->directory(), true, false)});
    server->start();
    const auto [token, secret] = social->twitterToken("2002");
    const auto asked = social->requestCount();
    EXPECT_EQ(install().anonymous(102, {{"socialType", "1"}, {"socialID", "2002"}, {"socialToken", token},
                                        {"socialTokenSecret", secret}}),
              refusal("Sign-in with Twitter is not set up on this service"));
    EXPECT_EQ(social->requestCount(), asked);
    Installation ann = install();
    EXPECT_FALSE(registerFacebook(ann, "fb-ann").empty());

    // And without any configuration at all.
    server->terminate();
    server = std::make_unique<ServerProcess>(database->url(), database->directory());
    server->start();
    EXPECT_EQ(install().anonymous(102, {{"socialType", "0"}, {"socialID", "fb-ann"},
                                        {"socialToken", social->facebookToken("fb-ann")}}),
              refusal("Sign-in with Facebook is not set up on this service"));
}

INSTANTIATE_TEST_SUITE_P(Server, SocialSignInTest, ::testing::Values("sqlite", "postgresql"), engineName);

}  // namespace
}  // namespace kelpa::server::testing
