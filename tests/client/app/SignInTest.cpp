#include "AppFixture.h"

#include "client/app/AuthViewController.h"
#include "client/model/Functions.h"
#include "platform/location/LocationAccuracy.h"
#include "platform/ui/NavigationController.h"

namespace kelpa::testing {
namespace {

// The sign-in screen of a fresh installation.
struct SignIn : ::testing::Test {
    SignIn() {
        app.launch();
        auth = app.front<AuthViewController>();
    }
    // What the sign-in screen presented over itself, as a class name.
    std::string presented() const {
        auto* nav = app.driver->rootViewController().get();
        auto& next = nav->presentedViewController();
        if (!next) return "";
        auto* v = next.get();
        while (!v->visibleChildren().empty()) v = v->visibleChildren().back();
        return v->className();
    }
    bool loading() const { return app.driver->isVisible("loadingAnimation"); }

    AppFixture app;
    AuthViewController* auth = nullptr;
};

TEST_F(SignIn, TheScreenHidesItsNavigationBarAndAsksForLocation) {
    ASSERT_TRUE(auth);
    EXPECT_TRUE(app.driver->navigationController()->isNavigationBarHidden());
    EXPECT_FALSE(loading());
    ASSERT_TRUE(auth->locationManager);
    EXPECT_EQ(auth->locationManager->authorizationRequests(), (std::vector<std::string>{"always"}));
    EXPECT_EQ(auth->locationManager->desiredAccuracy(), platform::kCLLocationAccuracyBest);
    EXPECT_EQ(auth->locationManager->distanceFilter(), 5.0);
    EXPECT_TRUE(auth->locationManager->isUpdatingLocation());

    platform::Location fix;
    fix.coordinate = {48.137, 11.575};
    app.location->deliver(fix);
    app.t.settle();
    ASSERT_TRUE(auth->initialLocation);
    EXPECT_EQ(auth->map->region().center.latitude, 48.137);
    EXPECT_EQ(auth->map->region().span.latitudeDelta, 0.01);
    EXPECT_EQ(auth->map->region().span.longitudeDelta, 0.01);
    app.location->fail("denied");
    app.t.settle();
    EXPECT_TRUE(app.t.logged("didFailWithError: denied"));

    // The registration screen is pushed, with the bar shown again.
    app.driver->tap("registration");
    EXPECT_EQ(app.driver->frontmostClass(), "RegistrationViewController");
    EXPECT_FALSE(app.driver->navigationController()->isNavigationBarHidden());
}

TEST_F(SignIn, ByEmailGoesToTheTabsOrToPhoneVerification) {
    for (bool completed : {true, false}) {
        SCOPED_TRACE(completed);
        AppFixture fresh;
        fresh.launch();
        fresh.t.http().queueJSONForAction(104, AppFixture::userJSON("5", "Ann", completed));
        fresh.driver->type("email", "ann@example.org");
        fresh.driver->type("password", "secret");
        fresh.driver->tap("login");
        EXPECT_TRUE(fresh.driver->isVisible("loadingAnimation"));
        fresh.t.settle();
        EXPECT_EQ(fresh.field(104, "email"), "ann@example.org");
        EXPECT_EQ(fresh.field(104, "password"), Functions::getHashedStringFromString("secret"));
        EXPECT_TRUE(fresh.t.logged("try to login with email and pw"));
        EXPECT_TRUE(fresh.t.logged("succesfully logged in"));
        auto* presented = fresh.driver->rootViewController()->presentedViewController().get();
        ASSERT_TRUE(presented);
        EXPECT_FALSE(presented->lastTransitionAnimated());
        EXPECT_EQ(std::string(presented->className()), completed ? "TabBarController" : "PhoneVerificationViewController");
        EXPECT_EQ(fresh.t.env().preferences->string("kUserID"), "5");
    }
}

TEST_F(SignIn, AnEmptyFieldSendsNothing) {
    app.driver->type("email", "ann@example.org");
    app.driver->tap("login");
    app.driver->type("email", "");
    app.driver->type("password", "secret");
    app.driver->tap("login");
    app.t.settle();
    EXPECT_EQ(app.sent(104), 0u);
    EXPECT_FALSE(loading());
}

TEST_F(SignIn, EveryEmailFailureShowsTheSameAlert) {
    struct Case {
        std::optional<json> reply;
        bool unknown;
    };
    for (const auto& c : {Case{json{{"code", 2}}, true}, Case{json{{"code", 1}, {"info", "x"}}, false},
                          Case{std::nullopt, false}}) {
        AppFixture fresh;
        fresh.launch();
        if (c.reply) fresh.t.http().queueJSONForAction(104, *c.reply);
        fresh.driver->type("email", "ann@example.org");
        fresh.driver->type("password", "wrong");
        fresh.driver->tap("login");
        fresh.t.settle();
        EXPECT_EQ(fresh.driver->alertTitle(), "Login failed");
        EXPECT_EQ(fresh.driver->alertMessage(), "Check email and password");
        EXPECT_EQ(fresh.driver->alertActions(), (std::vector<std::string>{"OK"}));
        EXPECT_EQ(fresh.t.logged("user not exists"), c.unknown);
        EXPECT_TRUE(fresh.t.logged("other error"));
        EXPECT_TRUE(fresh.driver->isVisible("loadingAnimation"));
        fresh.driver->chooseAlertAction("OK");
        EXPECT_TRUE(fresh.t.logged("Default action clicked"));
        EXPECT_FALSE(fresh.driver->isVisible("loadingAnimation"));
    }
}

TEST_F(SignIn, AFirstFacebookSignInRegistersAndGoesToPhoneVerification) {
    app.facebook->setLoginSucceeds("fb-77");
    app.facebook->setGraphAnswer("fb-77", json{{"id", "fb-77"}, {"name", "Ann Facebook"}});
    app.t.http().queueJSONForAction(102, json{{"code", 2}});
    app.t.http().queueJSONForAction(100, json{{"userID", "5"}});
    app.driver->tap("facebookLogin");
    app.t.settle();
    EXPECT_EQ(app.field(102, "socialID"), "fb-77");
    EXPECT_EQ(app.field(102, "socialType"), "0");
    EXPECT_EQ(app.field(102, "socialToken"), "token-of-fb-77");
    EXPECT_EQ(app.field(100, "displayName"), "Ann Facebook");
    EXPECT_EQ(app.field(100, "socialID"), "fb-77");
    EXPECT_EQ(app.field(100, "socialToken"), "token-of-fb-77");
    EXPECT_TRUE(app.t.logged("user not exists"));
    EXPECT_TRUE(app.t.logged("successfully registered"));
    EXPECT_EQ(presented(), "PhoneVerificationViewController");
}

TEST_F(SignIn, FacebookWithoutTheEmailPermissionOrCancelledDoesNothing) {
    app.facebook->setLoginAnswer(platform::FacebookLoginResult{false, {"public_profile"}, platform::FacebookAccessToken{"fb-77", "EAAB77"}});
    app.driver->tap("facebookLogin");
    app.t.settle();
    app.facebook->setLoginAnswer(platform::FacebookLoginResult{true, {}, std::nullopt});
    app.driver->tap("facebookLogin");
    app.t.settle();
    EXPECT_EQ(app.sent(102), 0u);
    EXPECT_FALSE(loading());
}

TEST(SignInWithStoredToken, AFacebookTokenSignsInAsTheScreenLoads) {
    AppFixture app;
    app.facebook->setCurrentAccessToken(platform::FacebookAccessToken{"fb-77", "EAAB77"});
    app.facebook->setGraphAnswer("fb-77", json{{"id", "fb-77"}, {"name", "Ann"}});
    app.t.http().queueJSONForAction(102, AppFixture::userJSON("5", "Ann"));
    app.launch();
    EXPECT_EQ(app.sent(102), 1u);
    EXPECT_EQ(app.field(102, "socialToken"), "EAAB77");
    EXPECT_EQ(std::string(app.driver->rootViewController()->presentedViewController()->className()), "TabBarController");
}

TEST_F(SignIn, TwitterSignsInWithTheTwitterUser) {
    app.twitter->setLoginAnswer(platform::TwitterSession{"tw-1", "ann", "tw-token", "tw-secret"});
    app.twitter->addUser(platform::TwitterUser{"tw-1", "Ann Twitter", ""});
    app.t.http().queueJSONForAction(102, AppFixture::userJSON("5", "Ann"));
    app.driver->tap("twitterLogin");
    app.t.settle();
    EXPECT_EQ(app.field(102, "socialID"), "tw-1");
    EXPECT_EQ(app.field(102, "socialType"), "1");
    EXPECT_EQ(app.field(102, "socialToken"), "tw-token");
    EXPECT_EQ(app.field(102, "socialTokenSecret"), "tw-secret");
    EXPECT_EQ(presented(), "MapViewController");
}

TEST_F(SignIn, TwitterWithoutASessionHidesTheAnimation) {
    app.driver->tap("twitterLogin");
    app.t.settle();
    EXPECT_FALSE(loading());
    EXPECT_EQ(app.sent(102), 0u);
}

TEST_F(SignIn, ASocialFailureShowsFailedAndRegistrationOutcomesOnlyLog) {
    app.twitter->setLoginAnswer(platform::TwitterSession{"tw-1", "ann", "tw-token", "tw-secret"});
    app.twitter->addUser(platform::TwitterUser{"tw-1", "Ann", ""});
    app.t.http().queueJSONForAction(102, json{{"code", 1}, {"info", "down"}});
    app.driver->tap("twitterLogin");
    app.t.settle();
    EXPECT_EQ(app.driver->alertTitle(), "Failed");
    EXPECT_EQ(app.driver->alertMessage(), "Login failed");
    app.driver->chooseAlertAction("OK");
    EXPECT_FALSE(loading());

    for (const auto& [code, line] : {std::pair{2, "user exists"}, std::pair{1, "registration other error"}}) {
        app.t.http().queueJSONForAction(102, json{{"code", 2}});
        app.t.http().queueJSONForAction(100, json{{"code", code}});
        app.driver->tap("twitterLogin");
        app.t.settle();
        EXPECT_TRUE(app.t.logged(line));
        EXPECT_FALSE(app.driver->alert());
        EXPECT_EQ(presented(), "");
    }
}

TEST_F(SignIn, ASecondSocialSignInWhileSignedInSendsNothing) {
    User::setCurrentUser(User::initWithJSON(AppFixture::userJSON("5", "Ann")));
    app.twitter->setLoginAnswer(platform::TwitterSession{"tw-1", "ann", "tw-token", "tw-secret"});
    app.twitter->addUser(platform::TwitterUser{"tw-1", "Ann", ""});
    app.driver->tap("twitterLogin");
    app.t.settle();
    EXPECT_EQ(app.sent(102), 0u);
}

TEST_F(SignIn, AFacebookLookupWithoutIdentifierSignsNobodyIn) {
    app.facebook->setLoginSucceeds("fb-77");
    app.facebook->setGraphAnswer("fb-77", json::object(), std::string("graph failed"));
    app.driver->tap("facebookLogin");
    app.t.settle();
    EXPECT_EQ(app.sent(102), 0u);
    EXPECT_FALSE(loading());
}

}  // namespace
}  // namespace kelpa::testing
