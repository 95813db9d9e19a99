#pragma once

#include "client/service/SocialToken.h"
#include "platform/kits/TwitterSession.h"
#include "platform/location/Location.h"
#include "platform/location/LocationManager.h"
#include "platform/location/LocationManagerDelegate.h"
#include "platform/maps/MapViewDelegate.h"
#include "platform/maps/MapView.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Button.h"
#include "platform/ui/TextField.h"
#include "platform/ui/ViewController.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace kelpa {

class User;

// Sign-in by e-mail and password, Facebook or Twitter; a social account the service does not
// know is registered on the way. Shows a map around the device's position.
class AuthViewController : public platform::ui::ViewController,
                           public platform::LocationManagerDelegate,
                           public platform::MapViewDelegate {
public:
    static constexpr const char* kRegistrationSegue = "fromAuthToRegistration";

    const char* className() const override { return "AuthViewController"; }

    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void touchesBegan() override;

    // Actions.
    void loginUserWithEmailAndPassword();
    void facebookLogin();
    void twitterLogin();

    void setupLocationManager();
    void turnOnLocationManager();
    void zoomToLocation(const platform::Location& location);
    void performLoginWithFacebook();
    void performLoginWithTwitterSession(const platform::TwitterSession& session);
    void loginUser(std::shared_ptr<User> user, const std::string& withSocialID, std::int32_t andType,
                   const SocialToken& token);
    void loginUserWithEmail(const std::string& email, const std::string& andPassword);

    void didUpdateToLocation(platform::LocationManager& manager, const platform::Location& newLocation,
                             const std::optional<platform::Location>& fromLocation) override;
    void didFailWithError(platform::LocationManager& manager, const std::string& error) override;

    std::shared_ptr<platform::ui::TextField> email;
    std::shared_ptr<platform::ui::TextField> password;
    std::shared_ptr<platform::ui::Button> login;
    std::shared_ptr<platform::ui::Button> facebookLoginButton;
    std::shared_ptr<platform::ui::Button> twitterLoginButton;
    std::shared_ptr<platform::ui::Button> registration;
    std::shared_ptr<platform::ui::ActivityIndicatorView> loadingAnimation;
    std::shared_ptr<platform::MapView> map;
    std::shared_ptr<platform::LocationManager> locationManager;
    std::optional<platform::Location> initialLocation;

private:
    // Where a signed-in user goes next.
    void showNextScreen(const User& user);
    void alert(const std::string& title, const std::string& message, std::function<void()> onOK);
};

}  // namespace kelpa
