#include "client/app/RegistrationViewController.h"

#include "client/app/ScreenSupport.h"
#include "client/model/Functions.h"
#include "client/model/User.h"
#include "client/service/API.h"
#include "platform/DispatchQueue.h"
#include "platform/Log.h"

namespace kelpa {

using platform::log;
namespace ui = platform::ui;

void RegistrationViewController::loadView() {
    ViewController::loadView();
    setTitle("Create an account");
    auto& root = *view();
    displayName = ScreenSupport::addField(root, "displayName", "Display name");
    email = ScreenSupport::addField(root, "email", "E-mail");
    password = ScreenSupport::addField(root, "password", "Password", true);
    registrateButton = std::make_shared<ui::Button>("registrate");
    registrateButton->setTitle("Create account");
    registrateButton->addTarget(ui::Control::Event::primaryAction, [this](ui::Control&) { registrate(); });
    root.addSubview(registrateButton);
}

void RegistrationViewController::touchesBegan() { view()->endEditing(true); }

void RegistrationViewController::registrate() {
    const std::string name = displayName->text();
    const std::string mail = email->text();
    const std::string secret = password->text();
    if (name.empty() || mail.empty() || secret.empty()) {
        ScreenSupport::presentOK(*this, "!!!", ":(", [] { log("ok"); });
        return;
    }
    const std::string hash = Functions::getHashedStringFromString(secret);
    auto user = std::make_shared<User>();
    user->displayName = name;
    auto self = std::static_pointer_cast<RegistrationViewController>(shared_from_this());
    // The account call is made from a queue of its own; its answer comes back on the main queue.
    platform::DispatchQueue::create("registration")->async([self, user, mail, hash] {
        API::registerNewUser(user, mail, hash, [self](std::int32_t code) {
            if (code == 0) {
                log("successfully registered");
                if (auto next = ScreenSupport::mainScreen("PhoneVerificationViewController")) {
                    self->presentViewController(next, false);
                }
            } else if (code == 2) {
                ScreenSupport::presentOK(*self, "Registration", "already exists");
            } else {
                log("registration other error");
            }
        });
    });
}

}  // namespace kelpa
