#include "client/app/PhoneVerificationViewController.h"

#include "client/app/ScreenSupport.h"
#include "client/model/Functions.h"
#include "client/model/User.h"
#include "client/service/API.h"
#include "platform/Log.h"

#include <random>

namespace kelpa {

using platform::log;
namespace ui = platform::ui;

void PhoneVerificationViewController::loadView() {
    ViewController::loadView();
    setTitle("Verify your phone");
    auto& root = *view();
    auto hint = std::make_shared<ui::Label>("hint");
    hint->setText("We send a four-digit code to your phone by text message.");
    root.addSubview(hint);
    phoneNumber = ScreenSupport::addField(root, "phoneNumber", "Phone number");
    sendButton = std::make_shared<ui::Button>("sendVerificationCode");
    sendButton->setTitle("Send code");
    sendButton->addTarget(ui::Control::Event::primaryAction, [this](ui::Control&) { sendVerificationCode(); });
    root.addSubview(sendButton);
    sentCodeLoader = std::make_shared<ui::ActivityIndicatorView>("sentCodeLoader");
    sentCodeLoader->setHidden(true);
    root.addSubview(sentCodeLoader);
    verificationCode = ScreenSupport::addField(root, "verificationCode", "Code from the text message");
    verifyButton = std::make_shared<ui::Button>("verifyButton");
    verifyButton->setTitle("Verify");
    // Nothing to compare with until a code went out.
    verifyButton->setEnabled(false);
    verifyButton->addTarget(ui::Control::Event::primaryAction, [this](ui::Control&) { verify(); });
    root.addSubview(verifyButton);
    verifyLoader = std::make_shared<ui::ActivityIndicatorView>("verifyLoader");
    verifyLoader->setHidden(true);
    root.addSubview(verifyLoader);
}

void PhoneVerificationViewController::touchesBegan() { view()->endEditing(true); }

std::string PhoneVerificationViewController::makeCode() {
    static std::random_device device;
    const std::uint32_t random = device();
    return std::to_string(static_cast<int>(random % 9000 + 1000));
}

void PhoneVerificationViewController::sendVerificationCode() {
    view()->endEditing(true);
    if (phoneNumber->text().empty()) return;
    sentCodeLoader->setHidden(false);
    code = makeCode();
    log(*code);
    const std::string target = Functions::getFormattedPhoneNumberFromPhoneNumber(phoneNumber->text());
    auto self = std::static_pointer_cast<PhoneVerificationViewController>(shared_from_this());
    API::sendSMS(*code, target, [self](std::int32_t result) {
        self->sentCodeLoader->setHidden(true);
        if (result == 0) {
            self->verifyButton->setEnabled(true);
        } else if (result == 1) {
            self->verifyButton->setEnabled(false);
            ScreenSupport::presentOK(*self, "SMS", "failed");
        }
    });
}

void PhoneVerificationViewController::verify() {
    verifyLoader->setHidden(false);
    view()->endEditing(true);
    if (!code || verificationCode->text() != *code) {
        verifyLoader->setHidden(true);
        ScreenSupport::presentOK(*this, "Failed", "code is not equal to code");
        return;
    }
    log(phoneNumber->text());
    auto me = User::getCurrentUser();
    if (!me) {
        verifyLoader->setHidden(true);
        return;
    }
    auto self = std::static_pointer_cast<PhoneVerificationViewController>(shared_from_this());
    // The service saves the number only with the code it texted there.
    me->updatePhoneNumber(Functions::getFormattedPhoneNumberFromPhoneNumber(phoneNumber->text()), *code,
                          [self](std::int32_t result, Info info) {
                              self->verifyLoader->setHidden(true);
                              if (result == 0) {
                                  if (auto next = ScreenSupport::mainScreen("ProfileSetupViewController")) {
                                      self->presentViewController(next, false);
                                  }
                              } else if (result == 1) {
                                  ScreenSupport::presentOK(*self, "Failed", info.value_or(""));
                              }
                          });
}

}  // namespace kelpa
