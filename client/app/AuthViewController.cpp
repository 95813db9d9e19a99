#include "client/app/AuthViewController.h"

#include "client/app/ScreenSupport.h"
#include "client/model/Functions.h"
#include "client/model/User.h"
#include "client/service/API.h"
#include "client/service/JSONConversion.h"
#include "platform/Environment.h"
#include "platform/Log.h"
#include "platform/kits/FacebookKit.h"
#include "platform/kits/TwitterKit.h"
#include "platform/location/LocationAccuracy.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"

namespace kelpa {

using platform::log;
namespace ui = platform::ui;

void AuthViewController::loadView() {
    ViewController::loadView();
    setTitle("Sign in");
    auto& root = *view();
    map = std::make_shared<platform::MapView>("map");
    root.addSubview(map);
    auto heading = std::make_shared<ui::Label>("heading");
    heading->setText("Kelpa");
    root.addSubview(heading);
    email = ScreenSupport::addField(root, "email", "E-mail");
    password = ScreenSupport::addField(root, "password", "Password", true);
    login = std::make_shared<ui::Button>("login");
    login->setTitle("Sign in");
    login->addTarget(ui::Control::Event::primaryAction, [this](ui::Control&) { loginUserWithEmailAndPassword(); });
    root.addSubview(login);
    facebookLoginButton = std::make_shared<ui::Button>("facebookLogin");
    facebookLoginButton->setTitle("Sign in with Facebook");
    facebookLoginButton->addTarget(ui::Control::Event::primaryAction, [this](ui::Control&) { facebookLogin(); });
    root.addSubview(facebookLoginButton);
    twitterLoginButton = std::make_shared<ui::Button>("twitterLogin");
    twitterLoginButton->setTitle("Sign in with Twitter");
    twitterLoginButton->addTarget(ui::Control::Event::primaryAction, [this](ui::Control&) { twitterLogin(); });
    root.addSubview(twitterLoginButton);
    registration = std::make_shared<ui::Button>("registration");
    registration->setTitle("New here? Create an account");
    connectSegue(registration, kRegistrationSegue);
    root.addSubview(registration);
    loadingAnimation = std::make_shared<ui::ActivityIndicatorView>("loadingAnimation");
    loadingAnimation->setHidden(true);
    root.addSubview(loadingAnimation);
}

void AuthViewController::viewDidLoad() {
    ViewController::viewDidLoad();
    setupLocationManager();
    if (platform::Environment::current()->facebook->currentAccessToken()) performLoginWithFacebook();
}

void AuthViewController::viewWillAppear(bool animated) {
    if (auto* navigation = navigationController()) navigation->setNavigationBarHidden(true, animated);
    ViewController::viewWillAppear(animated);
}

void AuthViewController::viewWillDisappear(bool animated) {
    if (auto* navigation = navigationController()) navigation->setNavigationBarHidden(false, animated);
    ViewController::viewWillDisappear(animated);
}

void AuthViewController::touchesBegan() { view()->endEditing(true); }

void AuthViewController::loginUserWithEmailAndPassword() {
    const std::string mail = email->text();
    const std::string secret = password->text();
    if (mail.empty() || secret.empty()) return;
    loadingAnimation->setHidden(false);
    // Only the hash leaves the device.
    loginUserWithEmail(mail, Functions::getHashedStringFromString(secret));
}

void AuthViewController::loginUserWithEmail(const std::string& mail, const std::string& andPassword) {
    auto self = std::static_pointer_cast<AuthViewController>(shared_from_this());
    API::loginUserWithEmail(mail, andPassword, [self](std::int32_t code, std::shared_ptr<User> user) {
        log("try to login with email and pw");
        if (code == 0 && user) {
            log("succesfully logged in");
            self->showNextScreen(*user);
            return;
        }
        if (code == 2) log("user not exists");
        self->alert("Login failed", "Check email and password", [self] {
            log("Default action clicked");
            self->loadingAnimation->setHidden(true);
        });
        log("other error");
    });
}

void AuthViewController::facebookLogin() {
    auto self = std::static_pointer_cast<AuthViewController>(shared_from_this());
    platform::Environment::current()->facebook->logInWithReadPermissions(
        {"email"}, [self](std::optional<platform::FacebookLoginResult> result, std::optional<std::string> error) {
            if (error || !result || result->isCancelled || !result->grantedPermissions.count("email")) return;
            self->performLoginWithFacebook();
        });
}

void AuthViewController::performLoginWithFacebook() {
    auto& facebook = platform::Environment::current()->facebook;
    auto token = facebook->currentAccessToken();
    if (!token) return;
    loadingAnimation->setHidden(false);
    auto self = std::static_pointer_cast<AuthViewController>(shared_from_this());
    facebook->startGraphRequest({token->userID, {}}, [self, proof = SocialToken{token->tokenString, {}}](
                                                         nlohmann::json result, std::optional<std::string>) {
        // Without an identifier there is nobody to sign in: every failed lookup would
        // otherwise share one account under the identifier "(null)".
        auto socialID = JSONConversion::unchangedText(result, "id");
        if (!socialID || socialID->empty()) {
            self->loadingAnimation->setHidden(true);
            return;
        }
        auto user = std::make_shared<User>();
        user->displayName = JSONConversion::unchangedText(result, "name");
        self->loginUser(user, *socialID, 0, proof);
    });
}

void AuthViewController::twitterLogin() {
    loadingAnimation->setHidden(false);
    auto self = std::static_pointer_cast<AuthViewController>(shared_from_this());
    platform::Environment::current()->twitter->logInWithCompletion(
        [self](std::optional<platform::TwitterSession> session, std::optional<std::string>) {
            if (!session) {
                self->loadingAnimation->setHidden(true);
                return;
            }
            self->performLoginWithTwitterSession(*session);
        });
}

void AuthViewController::performLoginWithTwitterSession(const platform::TwitterSession& session) {
    auto self = std::static_pointer_cast<AuthViewController>(shared_from_this());
    platform::Environment::current()->twitter->loadUserWithID(
        session.userID, [self, proof = SocialToken{session.authToken, session.authTokenSecret}](
                            std::optional<platform::TwitterUser> twitterUser, std::optional<std::string>) {
            if (!twitterUser || twitterUser->userID.empty()) {
                self->loadingAnimation->setHidden(true);
                return;
            }
            auto user = std::make_shared<User>();
            user->displayName = twitterUser->name;
            self->loginUser(user, twitterUser->userID, 1, proof);
        });
}

void AuthViewController::loginUser(std::shared_ptr<User> user, const std::string& withSocialID, std::int32_t andType,
                                   const SocialToken& token) {
    if (User::getCurrentUser()) return;
    auto self = std::static_pointer_cast<AuthViewController>(shared_from_this());
    API::loginUserWithSocialID(withSocialID, andType, token, [self, user, withSocialID, andType, token](
                                                                 std::int32_t code, std::shared_ptr<User> signedIn) {
        log("try to login with social id");
        if (code == 0 && signedIn) {
            log("succesfully logged in");
            self->showNextScreen(*signedIn);
            return;
        }
        if (code == 2) {
            log("user not exists");
            API::registerNewUser(user, withSocialID, andType, token, [self](std::int32_t registered) {
                if (registered == 0) {
                    log("successfully registered");
                    if (auto next = ScreenSupport::mainScreen("PhoneVerificationViewController")) {
                        self->presentViewController(next, false);
                    }
                } else if (registered == 2) {
                    log("user exists");
                } else {
                    log("registration other error");
                }
            });
            return;
        }
        log("other error");
        self->alert("Failed", "Login failed", [self] { self->loadingAnimation->setHidden(true); });
    });
}

void AuthViewController::showNextScreen(const User& user) {
    auto next = ScreenSupport::mainScreen(user.registrationCompleted ? "Tabs" : "PhoneVerificationViewController");
    if (next) presentViewController(next, false);
}

void AuthViewController::alert(const std::string& title, const std::string& message, std::function<void()> onOK) {
    ScreenSupport::presentOK(*this, title, message, std::move(onOK));
}

void AuthViewController::setupLocationManager() {
    map->setDelegate(weakAs<platform::MapViewDelegate>());
    locationManager = platform::LocationManager::create();
    if (ScreenSupport::systemVersion() >= 8.0) locationManager->requestAlwaysAuthorization();
    locationManager->setDelegate(weakAs<platform::LocationManagerDelegate>());
    locationManager->setDesiredAccuracy(platform::kCLLocationAccuracyBest);
    locationManager->setDistanceFilter(5.0);
    turnOnLocationManager();
}

void AuthViewController::turnOnLocationManager() { locationManager->startUpdatingLocation(); }

void AuthViewController::zoomToLocation(const platform::Location& location) {
    initialLocation = location;
    map->setRegion(platform::CoordinateRegionMake(location.coordinate, {0.01, 0.01}), true);
}

void AuthViewController::didUpdateToLocation(platform::LocationManager&, const platform::Location& newLocation,
                                             const std::optional<platform::Location>&) {
    zoomToLocation(newLocation);
}

void AuthViewController::didFailWithError(platform::LocationManager&, const std::string& error) {
    log("didFailWithError: " + error);
}

}  // namespace kelpa
