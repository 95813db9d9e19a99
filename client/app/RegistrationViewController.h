#pragma once

#include "platform/ui/Button.h"
#include "platform/ui/TextField.h"
#include "platform/ui/ViewController.h"

#include <memory>

namespace kelpa {

// A new account from a display name, an e-mail address and a password.
class RegistrationViewController : public platform::ui::ViewController {
public:
    const char* className() const override { return "RegistrationViewController"; }

    void loadView() override;
    void touchesBegan() override;
    void registrate();

    std::shared_ptr<platform::ui::TextField> displayName;
    std::shared_ptr<platform::ui::TextField> email;
    std::shared_ptr<platform::ui::TextField> password;
    std::shared_ptr<platform::ui::Button> registrateButton;
};

}  // namespace kelpa
