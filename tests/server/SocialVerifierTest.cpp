// The social networks' token checks on their own, against the loopback fakes: a token counts
// only when it is valid, this application's, and the claimed account's.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>

#include <unistd.h>

#include <gtest/gtest.h>

#include "server/social/FacebookVerifier.h"
#include "server/social/OAuth1Signer.h"
#include "server/social/SocialVerifiers.h"
#include "server/social/TwitterVerifier.h"
#include "tests/server/FakeSocialNetworks.h"

namespace kelpa::server::testing {
namespace {

using Verdict = SocialVerifier::Verdict;
using Fake = FakeSocialNetworks;

TEST(OAuth1Signer, SignsTheWorkedExampleOfTwittersDocumentation) {
    const OAuth1Signer::Credentials credentials{"xvz1evFS4wEEPTGEFPHBog", "kAcSOqF21Fu85e7zjz7ZN2U4ZRhfV3WpwPAoE3Z7kBw",
                                                "370773112-GmHxMAgYyLbNEtIKZeRNFsMKPR9EyMZeS9weJAEb",
                                                "LswwdoUaIvS8ltyTt5jkRh4J50vUPVVHtR2YPi5kE"};
    const OAuth1Signer::Parameters parameters = {{"status", "Hello Ladies + Gentlemen, a signed OAuth request!"},
                                                 {"include_entities", "true"}};
    const std::string url = "https://api.twitter.com/1/statuses/update.json";
    const std::string nonce = "kYjzVBB8Y0ZFabxSWbWovY3uYSQ2pTgmZeNu2VS4cg";
    EXPECT_EQ(OAuth1Signer::signature("POST", url, parameters, credentials, nonce, 1318622958),
              "tnnArxj06cWHq44gCs1OSKk/jLY=");
    const auto header = OAuth1Signer::authorization("POST", url, parameters, credentials, nonce, 1318622958);
    EXPECT_TRUE(header.starts_with("OAuth oauth_consumer_key=\"xvz1evFS4wEEPTGEFPHBog\", ")) << header;
    EXPECT_NE(header.find("oauth_signature=\"tnnArxj06cWHq44gCs1OSKk%2FjLY%3D\""), std::string::npos) << header;
    // Fresh nonces: two headers for the same request differ.
    EXPECT_NE(OAuth1Signer::authorization("GET", url, {}, credentials),
              OAuth1Signer::authorization("GET", url, {}, credentials));
}

FacebookVerifier facebookAt(const std::string& url) { return FacebookVerifier({url, Fake::kAppID, Fake::kAppSecret}); }
TwitterVerifier twitterAt(const std::string& url) {
    return TwitterVerifier({url, Fake::kConsumerKey, Fake::kConsumerSecret});
}

TEST(FacebookVerifier, ConfirmsOnlyAValidTokenOfThisApplicationForTheClaimedUser) {
    Fake fake;
    const auto verifier = facebookAt(fake.url());
    const auto ann = fake.facebookToken("fb-ann");
    const auto revoked = fake.facebookToken("fb-ann");
    fake.revoke(revoked);
    const auto otherApp = fake.facebookToken("fb-ann", "another-app");
    const struct {
        const char* name;
        SocialProof proof;
        Verdict verdict;
    } cases[] = {
        {"own token", {"fb-ann", ann, ""}, Verdict::confirmed},
        {"someone else's identifier", {"fb-bob", ann, ""}, Verdict::rejected},
        {"revoked", {"fb-ann", revoked, ""}, Verdict::rejected},
        {"issued to another application", {"fb-ann", otherApp, ""}, Verdict::rejected},
        {"made up", {"fb-ann", "EAAmadeup", ""}, Verdict::rejected},
        {"characters of a query", {"fb-ann", ann + "&input_token=x", ""}, Verdict::rejected},
    };
    for (const auto& c : cases) EXPECT_EQ(verifier.verify(c.proof), c.verdict) << c.name;
    // The application's own credentials must be right too.
    EXPECT_EQ(FacebookVerifier({fake.url(), Fake::kAppID, "wrong"}).verify({"fb-ann", ann, ""}), Verdict::rejected);
}

TEST(TwitterVerifier, ConfirmsOnlyARequestSignedWithTheTokensSecretForTheClaimedUser) {
    Fake fake;
    const auto verifier = twitterAt(fake.url());
    const auto [token, secret] = fake.twitterToken("1001");
    const auto [revoked, revokedSecret] = fake.twitterToken("1001");
    fake.revoke(revoked);
    const struct {
        const char* name;
        SocialProof proof;
        Verdict verdict;
    } cases[] = {
        {"own token", {"1001", token, secret}, Verdict::confirmed},
        {"someone else's identifier", {"1002", token, secret}, Verdict::rejected},
        {"wrong secret", {"1001", token, "guess"}, Verdict::rejected},
        {"no secret", {"1001", token, ""}, Verdict::rejected},
        {"revoked", {"1001", revoked, revokedSecret}, Verdict::rejected},
        {"made up", {"1001", "1-made-up", secret}, Verdict::rejected},
    };
    for (const auto& c : cases) EXPECT_EQ(verifier.verify(c.proof), c.verdict) << c.name;
    EXPECT_EQ(TwitterVerifier({fake.url(), Fake::kConsumerKey, "wrong"}).verify({"1001", token, secret}),
              Verdict::rejected);
}

TEST(SocialVerifiers, ANetworkThatIsDownOrGoneIsUnreachableNotARejection) {
    std::optional<Fake> fake(std::in_place);
    const auto fbToken = fake->facebookToken("fb-ann");
    const auto [token, secret] = fake->twitterToken("1001");
    const auto facebook = facebookAt(fake->url());
    const auto twitter = twitterAt(fake->url());
    fake->setDown(true);
    EXPECT_EQ(facebook.verify({"fb-ann", fbToken, ""}), Verdict::unreachable);
    EXPECT_EQ(twitter.verify({"1001", token, secret}), Verdict::unreachable);
    fake.reset();
    EXPECT_EQ(facebook.verify({"fb-ann", fbToken, ""}), Verdict::unreachable);
    EXPECT_EQ(twitter.verify({"1001", token, secret}), Verdict::unreachable);
}

class SocialConfig : public ::testing::Test {
protected:
    std::string write(const std::string& text) {
        std::ofstream(path) << text;
        return path;
    }
    void TearDown() override { std::filesystem::remove(path); }
    std::string path = (std::filesystem::temp_directory_path() / ("kelpa-social-" + std::to_string(::getpid()) + ".json")).string();
};

TEST_F(SocialConfig, ReadsEitherNetworkAndLeavesTheOtherOff) {
    const auto both = SocialVerifiers::fromFile(write(
        R"({"facebook": {"appID": "a", "appSecret": "s"}, "twitter": {"consumerKey": "k", "consumerSecret": "c", "apiURL": "http://127.0.0.1:9/"}})"));
    EXPECT_TRUE(both.forType(0));
    EXPECT_TRUE(both.forType(1));
    const auto facebookOnly = SocialVerifiers::fromFile(write(R"({"facebook": {"appID": "a", "appSecret": "s"}})"));
    EXPECT_TRUE(facebookOnly.forType(0));
    EXPECT_FALSE(facebookOnly.forType(1));
    EXPECT_FALSE(SocialVerifiers().forType(0));
    EXPECT_FALSE(SocialVerifiers().forType(7));
}

TEST_F(SocialConfig, AFaultyFileIsRefusedWithWhatIsWrong) {
    const struct {
        const char* text;
        const char* complaint;
    } cases[] = {
        {"not json", "is not a JSON object"},
        {R"({"facebook": {"appID": "a"}})", "facebook.appSecret must be a non-empty text"},
        {R"({"twitter": {"consumerKey": "", "consumerSecret": "c"}})", "twitter.consumerKey must be a non-empty text"},
        {R"({"twitter": "yes"})", "twitter must be an object"},
        {R"({"facebook": {"appID": "a", "appSecret": "s", "graphURL": "ftp://x"}})",
         "facebook.graphURL must be an http:// or https:// address"},
    };
    for (const auto& c : cases) {
        try {
            SocialVerifiers::fromFile(write(c.text));
            ADD_FAILURE() << c.text << " was accepted";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(c.complaint), std::string::npos) << e.what();
        }
    }
    EXPECT_THROW(SocialVerifiers::fromFile(path + ".missing"), std::runtime_error);
}

}  // namespace
}  // namespace kelpa::server::testing
