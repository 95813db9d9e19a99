#include "client/app/ProfileSetupViewController.h"

#include "client/app/ScreenSupport.h"
#include "client/model/User.h"
#include "platform/Log.h"

namespace kelpa {

using platform::log;
namespace ui = platform::ui;

void ProfileSetupViewController::loadView() {
    ViewController::loadView();
    setTitle("Your profile");
    auto& root = *view();
    profileImage = std::make_shared<ui::ImageView>("profileImage");
    profileImage->setHidden(true);
    profileImage->setAccessibilityLabel("Profile picture");
    root.addSubview(profileImage);
    libraryButton = std::make_shared<ui::Button>("selectFromLibrary");
    libraryButton->setTitle("Choose a picture");
    libraryButton->addTarget(ui::Control::Event::primaryAction, [this](ui::Control&) { selectFromLibrary(); });
    root.addSubview(libraryButton);
    cameraButton = std::make_shared<ui::Button>("takePicture");
    cameraButton->setTitle("Take a picture");
    cameraButton->addTarget(ui::Control::Event::primaryAction, [this](ui::Control&) { takePicture(); });
    root.addSubview(cameraButton);
    displayname = ScreenSupport::addField(root, "displayname", "Display name");
    finishButton = std::make_shared<ui::Button>("finish");
    finishButton->setTitle("Finish");
    finishButton->addTarget(ui::Control::Event::primaryAction, [this](ui::Control&) { finish(); });
    root.addSubview(finishButton);
    status = std::make_shared<ui::ActivityIndicatorView>("status");
    status->setHidden(true);
    root.addSubview(status);
}

void ProfileSetupViewController::viewDidLoad() {
    ViewController::viewDidLoad();
    auto me = User::getCurrentUser();
    if (me) displayname->setText(me->displayName.value_or(""));
    if (me && me->registrationFromSocial) {
        status->setHidden(false);
        auto self = std::static_pointer_cast<ProfileSetupViewController>(shared_from_this());
        me->getProfileImageFromSocialNetworkWithCompletitionHandler([self, me](ImagePtr image, Info error) {
            self->status->setHidden(true);
            self->profileImage->setImage(image);
            self->profileImage->setHidden(false);
            if (error) return;  // the default picture stands in; it is not uploaded
            me->setProfileImage(image, [](std::int32_t code, Info info) {
                if (code == 0) log("Profile Image successfully Uploaded");
                else if (code == 1) log("Profile Image Upload failed with: " + info.value_or(""));
            });
        });
        return;
    }
    profileImage->setImage(User::getDefaultProfileImage());
    profileImage->setHidden(false);
}

void ProfileSetupViewController::touchesBegan() { view()->endEditing(true); }

void ProfileSetupViewController::selectFromLibrary() {
    auto picker = std::make_shared<ui::ImagePickerController>();
    picker->setModalPresentationStyle(ui::ModalPresentationStyle::currentContext);
    picker->setDelegate(weakAs<ui::ImagePickerControllerDelegate>());
    presentViewController(picker, true);
}

void ProfileSetupViewController::takePicture() {
    auto picker = std::make_shared<ui::ImagePickerController>();
    if (ui::ImagePickerController::isSourceTypeAvailable(ui::ImagePickerSourceType::camera)) {
        picker->setSourceType(ui::ImagePickerSourceType::camera);
    }
    picker->setDelegate(weakAs<ui::ImagePickerControllerDelegate>());
    presentViewController(picker, true);
}

void ProfileSetupViewController::didFinishPickingMediaWithInfo(ui::ImagePickerController& picker,
                                                               const ui::ImagePickerInfo& info) {
    auto me = User::getCurrentUser();
    auto found = info.find(ui::UIImagePickerControllerOriginalImage);
    if (!me || found == info.end() || !found->second) {
        picker.dismissViewControllerAnimated(true);
        return;
    }
    status->setHidden(false);
    ImagePtr image = found->second;
    auto self = std::static_pointer_cast<ProfileSetupViewController>(shared_from_this());
    me->setProfileImage(image, [self, image](std::int32_t code, Info info) {
        if (code == 0) {
            self->status->setHidden(true);
            self->profileImage->setImage(image);
        } else if (code == 1) {
            self->status->setHidden(true);
            ScreenSupport::presentOK(*self, "Upload failed", info.value_or(""), [self] { self->status->setHidden(true); });
        }
    });
    picker.dismissViewControllerAnimated(true);
}

void ProfileSetupViewController::imagePickerControllerDidCancel(ui::ImagePickerController& picker) {
    picker.dismissViewControllerAnimated(true);
}

void ProfileSetupViewController::finish() {
    auto me = User::getCurrentUser();
    if (!me) return;
    auto self = std::static_pointer_cast<ProfileSetupViewController>(shared_from_this());
    const std::string name = displayname->text();
    if (!name.empty() && name != me->displayName.value_or("")) {
        me->updateDisplayName(name, [self](std::int32_t code, Info info) {
            if (code == 1) {
                ScreenSupport::presentOK(*self, "update displayname failed", info.value_or(""),
                                         [self] { self->status->setHidden(true); });
            }
        });
    }
    me->updateRegistrationCompleted(true, [self](std::int32_t code, Info info) {
        if (code == 0) {
            if (auto next = ScreenSupport::mainScreen("Tabs")) self->presentViewController(next, false);
        } else if (code == 1) {
            ScreenSupport::presentOK(*self, "update registration completed failed", info.value_or(""),
                                     [self] { self->status->setHidden(true); });
        }
    });
}

}  // namespace kelpa
