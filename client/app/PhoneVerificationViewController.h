#pragma once

#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextField.h"
#include "platform/ui/ViewController.h"

#include <memory>
#include <optional>
#include <string>

namespace kelpa {

// Proves the user holds a phone number: a four-digit code goes out by text message and must
// be typed back before the number is saved to the account.
class PhoneVerificationViewController : public platform::ui::ViewController {
public:
    const char* className() const override { return "PhoneVerificationViewController"; }

    void loadView() override;
    void touchesBegan() override;
    void sendVerificationCode();
    void verify();

    // A new code: four decimal digits, 1000 to 9999.
    static std::string makeCode();

    std::shared_ptr<platform::ui::TextField> phoneNumber;
    std::shared_ptr<platform::ui::ActivityIndicatorView> sentCodeLoader;
    std::shared_ptr<platform::ui::Button> sendButton;
    std::shared_ptr<platform::ui::TextField> verificationCode;
    std::shared_ptr<platform::ui::Button> verifyButton;
    std::shared_ptr<platform::ui::ActivityIndicatorView> verifyLoader;
    // The code the user must type; it never leaves the device except in the text message.
    std::optional<std::string> code;
};

}  // namespace kelpa
