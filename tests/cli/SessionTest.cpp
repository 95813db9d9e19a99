// The installation's user: signing in and registering store "kUserID", every later command
// signs the stored user in again first, and logout forgets it.
#include "KelpactlFixture.h"

#include "client/model/User.h"

using namespace kelpa;
using namespace kelpa::cli::test;

namespace {

constexpr const char* kSecretHash = "2bb80d537b1da3e38bd30361aa855686bde0eacd7162fef6a25fe97bf527a25b";

std::optional<std::string> storedUserID(kelpa::testing::TestEnvironment& t) {
    return t.env().preferences->string(KelpaDefaults::kUserIDKey);
}

TEST_F(Kelpactl, ACommandSignsTheStoredUserInAgainFirst) {
    signedIn("7");
    auto outcome = run({"--json", "whoami"});
    ASSERT_EQ(outcome.code, 0) << outcome.err;
    auto forms = t.http().forms();
    ASSERT_FALSE(forms.empty());
    EXPECT_EQ(field(forms[0], "action"), "101");
    EXPECT_EQ(field(forms[0], "userID"), "7");
    EXPECT_EQ(outcome.document()["user"]["displayName"], "Ann");
    EXPECT_EQ(outcome.document()["user"]["userID"], "7");
    EXPECT_EQ(storedUserID(t), "7");
}

TEST_F(Kelpactl, CommandsNeedingAUserFailWithoutOne) {
    for (const auto& arguments : std::vector<std::vector<std::string>>{
             {"whoami"}, {"groups"}, {"members", "12"}, {"contacts"}, {"chat", "5", "--send", "hi"}, {"phone", "verify", "1234"}}) {
        SCOPED_TRACE(::testing::PrintToString(arguments));
        auto outcome = run(arguments);
        EXPECT_EQ(outcome.code, 1);
        EXPECT_EQ(outcome.err, "not signed in: run kelpactl login or register\n");
        EXPECT_EQ(outcome.out, "");
    }
    EXPECT_EQ(t.http().count(), 0u);
}

TEST(KelpactlSession, AFailedSignInAgainStopsTheCommandBeforeItsRequest) {
    struct Case {
        const char* name;
        std::optional<json> reply;
        const char* message;
    };
    const Case cases[] = {
        {"unknown user", json{{"code", 2}}, "unknown to the service"},
        {"refused", json{{"code", 1}, {"info", "device not bound"}}, "code 1"},
        {"no reply", std::nullopt, "code 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h;
        h.t.env().preferences->set(KelpaDefaults::kUserIDKey, "7");
        if (c.reply) h.t.http().queueJSONForAction(101, *c.reply);
        auto outcome = h.run({"members", "12"});
        EXPECT_EQ(outcome.code, 1);
        EXPECT_NE(outcome.err.find(c.message), std::string::npos) << outcome.err;
        EXPECT_EQ(h.requestsFor(309), 0u);
    }
}

TEST(KelpactlSession, LoginSendsTheHashedPasswordAndStoresTheUser) {
    struct Case {
        const char* name;
        std::vector<std::string> arguments;
        std::optional<std::string> typed;
        std::string input;
    };
    const std::vector<Case> cases = {
        {"typed at the prompt", {"login", "ann@example.org"}, "secret", ""},
        {"from standard input", {"login", "ann@example.org", "--password-stdin"}, std::nullopt, "secret\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h;
        h.t.http().queueJSONForAction(104, userJSON("7", "Ann"));
        h.typedPassword = c.typed;
        auto outcome = h.run(c.arguments, c.input);
        ASSERT_EQ(outcome.code, 0) << outcome.err;
        auto forms = h.t.http().forms();
        ASSERT_EQ(forms.size(), 1u);
        EXPECT_EQ(field(forms[0], "action"), "104");
        EXPECT_EQ(field(forms[0], "email"), "ann@example.org");
        EXPECT_EQ(field(forms[0], "password"), kSecretHash);
        EXPECT_EQ(field(forms[0], "userID"), "-4321");
        EXPECT_EQ(outcome.out, "signed in as 7 (Ann)\n");
        EXPECT_EQ(storedUserID(h.t), "7");
    }
}

TEST_F(Kelpactl, AccountFailuresExplainThemselvesAndStoreNothing) {
    struct Case {
        std::vector<std::string> arguments;
        int action;
        json reply;
        const char* message;
    };
    const std::vector<Case> cases = {
        {{"login", "ann@example.org", "--password-stdin"}, 104, {{"code", 2}}, "no user with this e-mail address and password"},
        {{"login", "ann@example.org", "--password-stdin"}, 104, {{"code", 1}}, "sign-in failed (code 1)"},
        {{"register", "ann@example.org", "Ann", "--password-stdin"}, 105, {{"code", 2}}, "already exists"},
        {{"register", "ann@example.org", "Ann", "--password-stdin"}, 105, {{"code", 1}}, "registration failed (code 1)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.arguments));
        t.http().queueJSONForAction(c.action, c.reply);
        auto outcome = run(c.arguments, "secret\n");
        EXPECT_EQ(outcome.code, 1);
        EXPECT_NE(outcome.err.find(c.message), std::string::npos) << outcome.err;
        EXPECT_EQ(storedUserID(t), std::nullopt);
    }
}

TEST_F(Kelpactl, RegisterSendsNameAndHashAndSignsIn) {
    t.http().queueJSONForAction(105, {{"userID", 42}});
    auto outcome = run({"--json", "register", "ann@example.org", "Ann Smith", "--password-stdin"}, "secret\n");
    ASSERT_EQ(outcome.code, 0) << outcome.err;
    auto forms = t.http().formsForAction(105);
    ASSERT_EQ(forms.size(), 1u);
    EXPECT_EQ(field(forms[0], "email"), "ann@example.org");
    EXPECT_EQ(field(forms[0], "displayName"), "Ann Smith");
    EXPECT_EQ(field(forms[0], "password"), kSecretHash);
    EXPECT_EQ(outcome.document()["user"]["userID"], "42");
    EXPECT_EQ(storedUserID(t), "42");
}

TEST_F(Kelpactl, SocialLoginPassesTheTokenAndRegistersANewAccount) {
    // Known account: signs in with the token from standard input.
    t.http().queueJSONForAction(102, userJSON("7", "Ann"));
    auto known = run({"social-login", "twitter", "2002", "--token-stdin"}, "tw-token\ntw-secret\n");
    ASSERT_EQ(known.code, 0) << known.err;
    auto forms = t.http().formsForAction(102);
    ASSERT_EQ(forms.size(), 1u);
    EXPECT_EQ(field(forms[0], "socialType"), "1");
    EXPECT_EQ(field(forms[0], "socialID"), "2002");
    EXPECT_EQ(field(forms[0], "socialToken"), "tw-token");
    EXPECT_EQ(field(forms[0], "socialTokenSecret"), "tw-secret");
    EXPECT_EQ(storedUserID(t), "7");

    // Unknown account: registered under the given name with the same token, then signed in.
    t.http().queueJSONForAction(102, {{"code", 2}, {"info", "No such user"}});
    t.http().queueJSONForAction(100, {{"userID", 42}});
    auto fresh = run({"--json", "social-login", "facebook", "fb-9", "--token", "EAAB", "--name", "Bo"});
    ASSERT_EQ(fresh.code, 0) << fresh.err;
    const auto registration = t.http().formsForAction(100);
    ASSERT_EQ(registration.size(), 1u);
    EXPECT_EQ(field(registration[0], "socialID"), "fb-9");
    EXPECT_EQ(field(registration[0], "displayName"), "Bo");
    EXPECT_EQ(field(registration[0], "socialToken"), "EAAB");
    EXPECT_EQ(field(registration[0], "socialTokenSecret"), std::nullopt);
    EXPECT_EQ(fresh.document()["registered"], true);
    EXPECT_EQ(storedUserID(t), "42");
}

TEST_F(Kelpactl, SocialLoginRefusesToGoWithoutTheToken) {
    const struct {
        std::vector<std::string> arguments;
        std::string input;
        const char* message;
    } cases[] = {
        {{"social-login", "facebook", "fb-9"}, "", "the access token is missing"},
        {{"social-login", "facebook", "fb-9", "--token-stdin"}, "", "no token on standard input"},
        {{"social-login", "twitter", "2002", "--token", "t"}, "", "needs the token's secret"},
        {{"social-login", "twitter", "2002", "--token-stdin"}, "t\n", "needs the token's secret"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.arguments));
        auto outcome = run(c.arguments, c.input);
        EXPECT_EQ(outcome.code, 2);
        EXPECT_NE(outcome.err.find(c.message), std::string::npos) << outcome.err;
    }
    EXPECT_TRUE(t.http().formsForAction(102).empty());
    EXPECT_NE(run({"social-login", "myspace", "x", "--token", "t"}).code, 0);
}

TEST_F(Kelpactl, ProfileCompleteMarksTheRegistrationDone) {
    for (const auto& [reply, code, out] : std::vector<std::tuple<nlohmann::json, int, std::string>>{
             {{{"code", 0}}, 0, "registration completed\n"}, {{{"code", 1}, {"info", "phone first"}}, 1, ""}}) {
        SCOPED_TRACE(reply.dump());
        signedIn("7");
        t.http().queueJSONForAction(113, reply);
        auto outcome = run({"profile", "complete"});
        EXPECT_EQ(outcome.code, code) << outcome.err;
        EXPECT_EQ(outcome.out, out);
        if (code != 0) {
            EXPECT_EQ(outcome.err, "phone first\n");
        }
        EXPECT_EQ(field(t.http().formsForAction(113).back(), "toUserID"), "1");
    }
}

TEST_F(Kelpactl, LogoutForgetsTheStoredUser) {
    signedIn("7");
    auto outcome = run({"logout"});
    EXPECT_EQ(outcome.code, 0);
    EXPECT_EQ(outcome.out, "signed out\n");
    EXPECT_EQ(storedUserID(t), std::nullopt);
    EXPECT_EQ(User::getCurrentUser(), nullptr);
    EXPECT_EQ(run({"whoami"}).code, 1);
    EXPECT_EQ(t.http().count(), 0u);
}

}  // namespace

namespace {

TEST_F(Kelpactl, TheServiceOptionChoosesWhereRequestsGo) {
    signedIn("7");
    ASSERT_EQ(run({"--service", "https://kelpa.example.org:8443/", "whoami"}).code, 0);
    auto requests = t.http().requests();
    ASSERT_FALSE(requests.empty());
    for (const auto& request : requests) EXPECT_EQ(request.url, "https://kelpa.example.org:8443/api/v1.1/API.php");
}

}  // namespace
