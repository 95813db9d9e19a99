#include "AppFixture.h"

#include "client/bluetooth/MasterViewController.h"
#include "client/model/Group.h"
#include "client/profile/ProfileViewController.h"
#include "platform/Image.h"
#include "platform/ui/ImagePickerController.h"

namespace kelpa::testing {
namespace {

using platform::FakeHttpClient;

std::shared_ptr<const platform::Image> picture(std::uint8_t shade) {
    return std::make_shared<platform::Image>(platform::Image{2, 2, std::vector<std::uint8_t>(16, shade)});
}

// The profile screen shown alone in the window for a signed-in user. Pictures asked for with
// GET come from `served`; forms get what the test queued.
struct Profile {
    explicit Profile(json user = AppFixture::userJSON("5", "Ann")) {
        app.t.http().setResponder([this](const platform::HttpRequest& request) -> std::optional<platform::HttpResponse> {
            if (request.method == "GET") return served;
            return std::nullopt;
        });
        app.launch();
        User::setCurrentUser(User::initWithJSON(user));
        screen = std::make_shared<ProfileViewController>();
        app.delegate->window()->setRootViewController(screen);
        app.t.settle();
    }
    bool busy() { return app.driver->isVisible("status"); }
    std::string presentedClass() const {
        auto& next = screen->presentedViewController();
        return next ? next->className() : "";
    }

    std::optional<platform::HttpResponse> served;
    AppFixture app;
    std::shared_ptr<ProfileViewController> screen;
};

TEST(ProfileScreen, ShowsWhoIsSignedInAndTheirPicture) {
    struct Case {
        const char* name;
        int socialType;
        const char* shown;
        bool pictureServed;
    };
    const Case cases[] = {
        {"e-mail", -1, "email", true},
        {"facebook", 0, "facebook", false},
        {"twitter", 1, "twitter", true},
        {"unknown kind", 7, "UNDEFINED", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto user = AppFixture::userJSON("5", "Ann");
        user["registrationFromSocial"] = c.socialType == -1 ? 0 : 1;
        user["socialType"] = c.socialType;
        Profile p(user);
        // The picture arrives after the screen loaded: ask again with one served.
        if (c.pictureServed) {
            // Shorter answers count as no picture; decoders stop at the image's end.
            auto png = *platform::ImageCodec::encodePNG(*picture(120));
            png.resize(400, '\0');
            p.served = platform::HttpResponse{200, png};
            p.screen = std::make_shared<ProfileViewController>();
            p.app.delegate->window()->setRootViewController(p.screen);
            p.app.t.settle();
        }
        EXPECT_EQ(p.app.driver->text("userID"), "5");
        EXPECT_EQ(p.app.driver->text("socialType"), c.shown);
        EXPECT_EQ(p.app.driver->text("displayName"), "Ann");
        EXPECT_TRUE(p.app.driver->isVisible("profileImage"));
        const auto shown = p.screen->profileImage->image();
        ASSERT_TRUE(shown);
        if (c.pictureServed) {
            EXPECT_EQ(shown->width, 2);
            EXPECT_NE(*shown, *User::getDefaultProfileImage());
        } else {
            EXPECT_EQ(*shown, *User::getDefaultProfileImage());
        }
    }
}

TEST(ProfileScreen, RenamingSendsOnlyANewNameAndTellsTheOutcome) {
    struct Case {
        std::string typed;
        std::optional<json> reply;  // none: nothing may be sent
        std::optional<std::string> message;
        bool busyAfter;
    };
    const Case cases[] = {
        {"Ann", std::nullopt, std::nullopt, false},
        {"", std::nullopt, std::nullopt, false},
        {"Annie", json{{"code", 0}}, ":D", false},
        {"Annie", json{{"code", 1}, {"info", "taken"}}, ":(", false},
        {"Annie", json{{"code", 2}}, std::nullopt, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed + (c.reply ? c.reply->dump() : ""));
        Profile p;
        if (c.reply) p.app.t.http().queueJSONForAction(103, *c.reply);
        p.app.driver->type("displayName", c.typed);
        p.app.driver->tap("updateDisplayName");
        EXPECT_EQ(p.busy(), c.reply.has_value()) << "busy while the request runs";
        p.app.t.settle();
        EXPECT_EQ(p.app.sent(103), c.reply ? 1u : 0u);
        if (c.reply) {
            EXPECT_EQ(p.app.field(103, "displayName"), c.typed);
        }
        if (c.message) {
            EXPECT_EQ(p.app.driver->alertTitle(), "Update");
            EXPECT_EQ(p.app.driver->alertMessage(), *c.message);
            EXPECT_TRUE(p.busy()) << "until the alert is answered";
            p.app.driver->chooseAlertAction("OK");
        } else {
            EXPECT_EQ(p.presentedClass(), "");
        }
        EXPECT_EQ(p.busy(), c.busyAfter);
    }
}

TEST(ProfileScreen, ANewPictureIsUploadedAndARefusedOneLeavesTheOldInPlace) {
    Profile p;
    p.app.driver->tap("selectPicture");
    auto* library = dynamic_cast<platform::ui::ImagePickerController*>(p.screen->presentedViewController().get());
    ASSERT_TRUE(library);
    EXPECT_EQ(library->sourceType(), platform::ui::ImagePickerSourceType::photoLibrary);
    EXPECT_EQ(library->modalPresentationStyle(), platform::ui::ModalPresentationStyle::currentContext);
    p.app.t.http().queueJSON(json{{"code", 0}});
    const auto chosen = picture(90);
    p.app.driver->pickImage(chosen);
    EXPECT_FALSE(p.screen->presentedViewController());
    EXPECT_TRUE(p.busy());
    p.app.t.settle();
    EXPECT_FALSE(p.busy());
    EXPECT_EQ(p.screen->profileImage->image(), chosen);
    EXPECT_EQ(p.app.uploads(), 1u);

    // No camera here: the library stands in. A refusal names its reason.
    p.app.driver->tap("takePicture");
    auto* camera = dynamic_cast<platform::ui::ImagePickerController*>(p.screen->presentedViewController().get());
    ASSERT_TRUE(camera);
    EXPECT_EQ(camera->sourceType(), platform::ui::ImagePickerSourceType::photoLibrary);
    p.app.t.http().queueJSON(json{{"code", 1}, {"info", "too large"}});
    p.app.driver->pickImage(picture(10));
    p.app.t.settle();
    EXPECT_EQ(p.app.driver->alertTitle(), "Upload failed");
    EXPECT_EQ(p.app.driver->alertMessage(), "too large");
    EXPECT_EQ(p.screen->profileImage->image(), chosen);
    p.app.driver->chooseAlertAction("OK");
    EXPECT_FALSE(p.busy());

    p.app.driver->tap("selectPicture");
    p.app.driver->cancelImagePicker();
    EXPECT_FALSE(p.screen->presentedViewController());
    EXPECT_EQ(p.app.uploads(), 2u);
}

TEST(ProfileScreen, DeletingThePictureShowsTheDefaultOrTheReason) {
    for (bool accepted : {true, false}) {
        SCOPED_TRACE(accepted);
        Profile p;
        const auto before = picture(60);
        p.screen->profileImage->setImage(before);
        p.app.t.http().queueJSONForAction(109, accepted ? json{{"code", 0}} : json{{"code", 1}, {"info", "not now"}});
        p.app.driver->tap("deleteProfileImage");
        EXPECT_TRUE(p.busy());
        p.app.t.settle();
        EXPECT_EQ(p.app.sent(109), 1u);
        if (accepted) {
            EXPECT_EQ(*p.screen->profileImage->image(), *User::getDefaultProfileImage());
            EXPECT_EQ(p.presentedClass(), "");
        } else {
            EXPECT_EQ(p.screen->profileImage->image(), before);
            EXPECT_EQ(p.app.driver->alertTitle(), "Failed");
            EXPECT_EQ(p.app.driver->alertMessage(), "not now");
            p.app.driver->chooseAlertAction("OK");
        }
        EXPECT_FALSE(p.busy());
    }
}

TEST(ProfileScreen, SigningOutLeavesTheGroupAsTheUserAndShowsTheSignInAtOnce) {
    struct Case {
        const char* name;
        bool social;
        bool joined;
        std::optional<json> unjoinReply;
        bool failureLogged;
    };
    const Case cases[] = {
        {"e-mail, not joined", false, false, std::nullopt, false},
        {"e-mail, joined", false, true, json{{"code", 0}}, false},
        {"social, joined, refused", true, true, json{{"code", 1}, {"info", "no"}}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto user = AppFixture::userJSON("5", "Ann");
        user["registrationFromSocial"] = c.social ? 1 : 0;
        user["socialType"] = c.social ? 1 : -1;
        Profile p(user);
        p.app.t.env().preferences->set("kUserID", "5");
        auto group = Group::initWithJSON({{"groupID", "44"}, {"description", "Tour"}});
        if (c.joined) Group::setJoinedGroup(group);
        MasterViewController::setGroupToAdvertise(group);
        p.screen->startAdvertising();
        p.app.t.settle();
        ASSERT_TRUE(p.screen->peripheralManager && p.screen->peripheralManager->isAdvertising());
        if (c.unjoinReply) p.app.t.http().queueJSONForAction(308, *c.unjoinReply);
        const auto kitCalls = p.app.facebook->calls().size();

        p.app.driver->tap("logout");
        // The sign-in screens cover the app before the unjoin is answered.
        EXPECT_EQ(p.presentedClass(), "NavigationController");
        EXPECT_FALSE(User::getCurrentUser());
        EXPECT_FALSE(p.app.t.env().preferences->string("kUserID"));
        EXPECT_FALSE(MasterViewController::getGroupToAdvertise());
        EXPECT_FALSE(p.screen->peripheralManager->isAdvertising());
        p.app.t.settle();

        EXPECT_EQ(p.app.sent(308), c.joined ? 1u : 0u);
        if (c.joined) {
            EXPECT_EQ(p.app.field(308, "userID"), "5") << "sent as the user, not as nobody";
            EXPECT_EQ(p.app.field(308, "groupID"), "44");
        }
        EXPECT_EQ(Group::getJoinedGroup() != nullptr, c.joined && c.failureLogged);
        EXPECT_EQ(p.app.t.logged("failed to unjoin"), c.failureLogged);
        const auto facebookCalls = p.app.facebook->calls();
        const bool facebookOut = std::find(facebookCalls.begin() + static_cast<long>(kitCalls), facebookCalls.end(),
                                           "logOut") != facebookCalls.end();
        const auto twitterCalls = p.app.twitter->calls();
        const bool twitterOut = std::find(twitterCalls.begin(), twitterCalls.end(), "logOut") != twitterCalls.end();
        EXPECT_EQ(facebookOut, c.social);
        EXPECT_EQ(twitterOut, c.social);
        EXPECT_EQ(p.presentedClass(), "NavigationController") << "shown once";
    }
}

}  // namespace
}  // namespace kelpa::testing
