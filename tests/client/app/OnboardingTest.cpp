#include "AppFixture.h"

#include "client/app/PhoneVerificationViewController.h"
#include "client/app/ProfileSetupViewController.h"
#include "client/app/RegistrationViewController.h"
#include "client/model/Functions.h"
#include "platform/Image.h"
#include "platform/ui/ImagePickerController.h"

#include <set>

namespace kelpa::testing {
namespace {

using platform::ui::ViewController;

// One onboarding screen shown alone in the application's window.
template <class Screen>
struct OnScreen {
    explicit OnScreen(AppFixture& app) : app(app) {
        app.launch();
        screen = std::make_shared<Screen>();
        app.delegate->window()->setRootViewController(screen);
    }
    std::string presentedClass() const {
        auto& next = screen->presentedViewController();
        return next ? next->className() : "";
    }
    AppFixture& app;
    std::shared_ptr<Screen> screen;
};

TEST(Registration, AnEmptyFieldIsRefusedWithoutARequest) {
    const std::vector<std::vector<std::string>> fields = {{"", "a@b.c", "pw"}, {"Ann", "", "pw"}, {"Ann", "a@b.c", ""}};
    for (const auto& values : fields) {
        AppFixture app;
        OnScreen<RegistrationViewController> s(app);
        app.driver->type("displayName", values[0]);
        app.driver->type("email", values[1]);
        app.driver->type("password", values[2]);
        app.driver->tap("registrate");
        app.t.settle();
        EXPECT_EQ(app.driver->alertTitle(), "!!!");
        EXPECT_EQ(app.driver->alertMessage(), ":(");
        app.driver->chooseAlertAction("OK");
        EXPECT_TRUE(app.t.logged("ok"));
        EXPECT_EQ(app.sent(105), 0u);
    }
}

TEST(Registration, OutcomesByCode) {
    struct Case {
        json reply;
        std::string presented;
        std::optional<std::string> alert;
        std::optional<std::string> line;
    };
    const Case cases[] = {
        {json{{"userID", "5"}}, "PhoneVerificationViewController", std::nullopt, "successfully registered"},
        {json{{"code", 2}}, "", "Registration", std::nullopt},
        {json{{"code", 1}, {"info", "x"}}, "", std::nullopt, "registration other error"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply.dump());
        AppFixture app;
        OnScreen<RegistrationViewController> s(app);
        app.t.http().queueJSONForAction(105, c.reply);
        app.driver->type("displayName", "Ann");
        app.driver->type("email", "ann@example.org");
        app.driver->type("password", "secret");
        app.driver->tap("registrate");
        app.t.settle();
        EXPECT_EQ(app.field(105, "password"), Functions::getHashedStringFromString("secret"));
        EXPECT_EQ(app.field(105, "displayName"), "Ann");
        EXPECT_EQ(c.presented.empty() ? "" : s.presentedClass(), c.presented);
        EXPECT_EQ(app.driver->alertTitle(), c.alert);
        if (c.alert) {
            EXPECT_EQ(app.driver->alertMessage(), "already exists");
        }
        if (c.line) {
            EXPECT_TRUE(app.t.logged(*c.line));
        }
    }
}

TEST(PhoneVerification, CodesHaveFourDigits) {
    std::set<std::string> seen;
    for (int i = 0; i < 2000; ++i) {
        auto code = PhoneVerificationViewController::makeCode();
        ASSERT_EQ(code.size(), 4u) << code;
        ASSERT_GE(std::stoi(code), 1000);
        ASSERT_LE(std::stoi(code), 9999);
        seen.insert(code);
    }
    EXPECT_GT(seen.size(), 500u);
}

struct Verification : ::testing::Test {
    Verification() { User::setCurrentUser(User::initWithJSON(AppFixture::userJSON("5", "Ann", false))); }
    // Sends a code for the number; returns the code the screen made.
    std::string send(const std::string& number, json reply = json{{"code", 0}}) {
        app.t.http().queueJSONForAction(110, reply);
        app.driver->type("phoneNumber", number);
        app.driver->tap("sendVerificationCode");
        EXPECT_TRUE(app.driver->isVisible("sentCodeLoader"));
        app.t.settle();
        EXPECT_FALSE(app.driver->isVisible("sentCodeLoader"));
        return s.screen->code.value_or("");
    }
    AppFixture app;
    OnScreen<PhoneVerificationViewController> s{app};
};

TEST_F(Verification, AnEmptyNumberSendsNothingAndVerifyingWithoutACodeFails) {
    EXPECT_FALSE(app.driver->isEnabled("verifyButton"));
    app.driver->tap("sendVerificationCode");
    app.t.settle();
    EXPECT_EQ(app.sent(110), 0u);
    EXPECT_FALSE(s.screen->code);
    app.driver->type("verificationCode", "1234");
    s.screen->verify();
    EXPECT_EQ(app.driver->alertTitle(), "Failed");
    EXPECT_EQ(app.driver->alertMessage(), "code is not equal to code");
    EXPECT_FALSE(app.driver->isVisible("verifyLoader"));
}

TEST_F(Verification, TheCodeGoesOutAsTheWholeMessageToTheNormalisedNumber) {
    const auto code = send("0170 123 4567");
    EXPECT_TRUE(app.t.logged(code));
    EXPECT_EQ(app.field(110, "body"), code);
    EXPECT_EQ(app.field(110, "target"), "+491701234567");
    EXPECT_TRUE(app.driver->isEnabled("verifyButton"));
}

TEST_F(Verification, AFailedTextDisablesVerifying) {
    send("0170 1", json{{"code", 0}});
    send("0170 1", json{{"code", 1}});
    EXPECT_FALSE(app.driver->isEnabled("verifyButton"));
    EXPECT_EQ(app.driver->alertTitle(), "SMS");
    EXPECT_EQ(app.driver->alertMessage(), "failed");
}

TEST_F(Verification, OnlyTheLatestCodeCountsAndTheNumberAsTypedThenIsSaved) {
    const auto first = send("0170 1");
    auto second = send("0170 1");
    while (second == first) second = send("0170 1");
    app.driver->type("verificationCode", first);
    app.driver->tap("verifyButton");
    EXPECT_EQ(app.driver->alertMessage(), "code is not equal to code");
    app.driver->chooseAlertAction("OK");
    EXPECT_EQ(app.sent(112), 0u);

    app.driver->type("phoneNumber", "0171 9");  // changed after the text went out
    app.driver->type("verificationCode", second);
    app.t.http().queueJSONForAction(112, json{{"code", 0}});
    app.driver->tap("verifyButton");
    EXPECT_TRUE(app.driver->isVisible("verifyLoader"));
    app.t.settle();
    EXPECT_TRUE(app.t.logged("0171 9"));
    EXPECT_EQ(app.field(112, "phoneNumber"), "+491719");
    EXPECT_EQ(app.field(112, "code"), second);  // the service checks it against what it texted
    EXPECT_FALSE(app.driver->isVisible("verifyLoader"));
    EXPECT_EQ(s.presentedClass(), "ProfileSetupViewController");
}

TEST_F(Verification, ASaveRefusedByTheServiceShowsItsReason) {
    const auto code = send("0170 1");
    app.driver->type("verificationCode", code);
    app.t.http().queueJSONForAction(112, json{{"code", 1}, {"info", "number taken"}});
    app.driver->tap("verifyButton");
    app.t.settle();
    EXPECT_EQ(app.driver->alertTitle(), "Failed");
    EXPECT_EQ(app.driver->alertMessage(), "number taken");
    EXPECT_EQ(s.presentedClass(), "AlertController");
}

std::shared_ptr<const platform::Image> picture(std::uint8_t shade) {
    return std::make_shared<platform::Image>(platform::Image{2, 2, std::vector<std::uint8_t>(16, shade)});
}

TEST(ProfileSetup, AnEmailUserSeesTheDefaultPictureAndTheirName) {
    AppFixture app;
    User::setCurrentUser(User::initWithJSON(AppFixture::userJSON("5", "Ann", false)));
    OnScreen<ProfileSetupViewController> s(app);
    EXPECT_EQ(app.driver->text("displayname"), "Ann");
    EXPECT_TRUE(app.driver->isVisible("profileImage"));
    EXPECT_EQ(*s.screen->profileImage->image(), *User::getDefaultProfileImage());
    EXPECT_EQ(app.uploads(), 0u);
}

TEST(ProfileSetup, ASocialUsersPictureIsFetchedAndUploadedUnlessTheFetchFails) {
    for (bool fetched : {true, false}) {
        SCOPED_TRACE(fetched);
        AppFixture app;
        auto me = User::initWithJSON(AppFixture::userJSON("5", "Ann", false));
        me->registrationFromSocial = true;
        me->socialType = 0;
        me->socialID = "fb-77";
        User::setCurrentUser(me);
        if (fetched) app.facebook->setPicture("fb-77", platform::ImageCodec::encodePNG(*picture(200)));
        OnScreen<ProfileSetupViewController> s(app);
        app.t.http().queueJSON(json{{"code", 0}});  // the upload's answer
        app.t.settle();
        EXPECT_FALSE(app.driver->isVisible("status"));
        EXPECT_TRUE(app.driver->isVisible("profileImage"));
        EXPECT_EQ(app.uploads(), fetched ? 1u : 0u);
        if (fetched) {
            EXPECT_TRUE(app.t.logged("Profile Image successfully Uploaded"));
        } else {
            EXPECT_EQ(*s.screen->profileImage->image(), *User::getDefaultProfileImage());
        }
    }
}

TEST(ProfileSetup, APickedPictureIsUploadedAndShown) {
    AppFixture app;
    User::setCurrentUser(User::initWithJSON(AppFixture::userJSON("5", "Ann", false)));
    OnScreen<ProfileSetupViewController> s(app);
    app.driver->tap("selectFromLibrary");
    auto* picker = dynamic_cast<platform::ui::ImagePickerController*>(s.screen->presentedViewController().get());
    ASSERT_TRUE(picker);
    EXPECT_EQ(picker->modalPresentationStyle(), platform::ui::ModalPresentationStyle::currentContext);
    EXPECT_EQ(picker->sourceType(), platform::ui::ImagePickerSourceType::photoLibrary);
    EXPECT_TRUE(picker->lastTransitionAnimated());
    app.t.http().queueJSON(json{{"code", 0}});  // the upload's answer
    auto chosen = picture(90);
    app.driver->pickImage(chosen);
    EXPECT_FALSE(s.screen->presentedViewController()) << "dismissed while the upload runs";
    EXPECT_TRUE(app.driver->isVisible("status"));
    app.t.settle();
    EXPECT_FALSE(app.driver->isVisible("status"));
    EXPECT_EQ(s.screen->profileImage->image(), chosen);
    EXPECT_EQ(app.uploads(), 1u);

    // Refused: the reason, and the old picture stays.
    app.driver->tap("takePicture");
    auto* camera = dynamic_cast<platform::ui::ImagePickerController*>(s.screen->presentedViewController().get());
    ASSERT_TRUE(camera);
    EXPECT_EQ(camera->sourceType(), platform::ui::ImagePickerSourceType::photoLibrary) << "no camera here";
    app.t.http().queueJSON(json{{"code", 1}, {"info", "too large"}});
    app.driver->pickImage(picture(10));
    app.t.settle();
    EXPECT_EQ(app.driver->alertTitle(), "Upload failed");
    EXPECT_EQ(app.driver->alertMessage(), "too large");
    EXPECT_EQ(s.screen->profileImage->image(), chosen);

    app.driver->chooseAlertAction("OK");
    app.driver->tap("selectFromLibrary");
    app.driver->cancelImagePicker();
    EXPECT_FALSE(s.screen->presentedViewController());
    EXPECT_EQ(app.uploads(), 2u);
}

TEST(ProfileSetup, FinishingSendsTheNameOnlyWhenChangedAndWaitsForTheRegistrationState) {
    struct Case {
        std::string name;
        bool nameSent;
        json nameReply;
        json stateReply;
        std::string after;
        std::optional<std::string> alert;
    };
    const json ok = {{"code", 0}};
    const Case cases[] = {
        {"Ann", false, ok, ok, "TabBarController", std::nullopt},
        {"", false, ok, ok, "TabBarController", std::nullopt},
        {"Annie", true, ok, ok, "TabBarController", std::nullopt},
        {"Annie", true, ok, json{{"code", 1}, {"info", "try later"}}, "AlertController",
         "update registration completed failed"},
        {"Annie", true, json{{"code", 1}, {"info", "name refused"}}, json{{"code", 2}}, "AlertController",
         "update displayname failed"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppFixture app;
        User::setCurrentUser(User::initWithJSON(AppFixture::userJSON("5", "Ann", false)));
        OnScreen<ProfileSetupViewController> s(app);
        app.t.http().queueJSONForAction(103, c.nameReply);
        app.t.http().queueJSONForAction(113, c.stateReply);
        app.driver->type("displayname", c.name);
        app.driver->tap("finish");
        app.t.settle();
        EXPECT_EQ(app.sent(103), c.nameSent ? 1u : 0u);
        EXPECT_EQ(app.sent(113), 1u);
        EXPECT_EQ(app.field(113, "toUserID"), "1");
        EXPECT_EQ(s.presentedClass(), c.after);
        if (c.alert) {
            EXPECT_EQ(app.driver->alertTitle(), *c.alert);
        }
    }
}

}  // namespace
}  // namespace kelpa::testing
