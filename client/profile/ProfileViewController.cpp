#include "client/profile/ProfileViewController.h"

#include "client/app/MainStoryboard.h"
#include "client/app/ScreenSupport.h"
#include "client/model/Group.h"
#include "client/model/KelpaDefaults.h"
#include "client/model/User.h"
#include "platform/Environment.h"
#include "platform/Log.h"
#include "platform/kits/FacebookKit.h"
#include "platform/kits/TwitterKit.h"
#include "platform/ui/Storyboard.h"

namespace kelpa {

namespace ui = platform::ui;

std::shared_ptr<ProfileViewController> ProfileViewController::self() {
    return std::static_pointer_cast<ProfileViewController>(shared_from_this());
}

std::shared_ptr<ui::Button> ProfileViewController::addButton(const char* name, const char* title,
                                                           void (ProfileViewController::*action)()) {
    auto button = std::make_shared<ui::Button>(name);
    button->setTitle(title);
    button->addTarget(ui::Control::Event::primaryAction, [this, action](ui::Control&) { (this->*action)(); });
    view()->addSubview(button);
    return button;
}

void ProfileViewController::loadView() {
    MasterViewController::loadView();
    setTitle("Profile");
    auto& root = *view();
    profileImage = std::make_shared<ui::ImageView>("profileImage");
    profileImage->setHidden(true);
    profileImage->setAccessibilityLabel("Profile picture");
    root.addSubview(profileImage);
    addButton("selectPicture", "Choose a picture", &ProfileViewController::selectPicture);
    addButton("takePicture", "Take a picture", &ProfileViewController::takePicture);
    deleteProfileImage = addButton("deleteProfileImage", "Delete picture", &ProfileViewController::deleteProfileImageTapped);
    userID = ScreenSupport::addField(root, "userID", "User ID");
    userID->setEnabled(false);
    socialType = ScreenSupport::addField(root, "socialType", "Signed in with");
    socialType->setEnabled(false);
    displayName = ScreenSupport::addField(root, "displayName", "Display name");
    addButton("updateDisplayName", "Save name", &ProfileViewController::updateDisplayName);
    addButton("logout", "Sign out", &ProfileViewController::logout);
    status = std::make_shared<ui::ActivityIndicatorView>("status");
    status->setHidden(true);
    root.addSubview(status);
}

void ProfileViewController::viewDidLoad() {
    MasterViewController::viewDidLoad();
    auto me = User::getCurrentUser();
    if (!me) return;
    userID->setText(me->userID.value_or(""));
    displayName->setText(me->displayName.value_or(""));
    socialType->setText(me->getSocialTypeAsString());
    me->getProfileImageFromAPIWithCompletitionHandler([screen = self()](ImagePtr image) {
        screen->profileImage->setHidden(false);
        screen->profileImage->setImage(image);
    });
}

void ProfileViewController::touchesBegan() { view()->endEditing(true); }

void ProfileViewController::updateDisplayName() {
    view()->endEditing(true);
    auto me = User::getCurrentUser();
    const std::string name = displayName->text();
    if (!me || name.empty() || name == me->displayName.value_or("")) return;
    status->setHidden(false);
    me->updateDisplayName(name, [screen = self()](std::int32_t code, Info) {
        if (code != 0 && code != 1) return;
        ScreenSupport::presentOK(*screen, "Update", code == 0 ? ":D" : ":(", [screen] { screen->status->setHidden(true); });
    });
}

void ProfileViewController::takePicture() {
    auto picker = std::make_shared<ui::ImagePickerController>();
    if (ui::ImagePickerController::isSourceTypeAvailable(ui::ImagePickerSourceType::camera)) {
        picker->setSourceType(ui::ImagePickerSourceType::camera);
    }
    picker->setDelegate(weakAs<ui::ImagePickerControllerDelegate>());
    presentViewController(picker, true);
}

void ProfileViewController::selectPicture() {
    auto picker = std::make_shared<ui::ImagePickerController>();
    picker->setDelegate(weakAs<ui::ImagePickerControllerDelegate>());
    picker->setModalPresentationStyle(ui::ModalPresentationStyle::currentContext);
    presentViewController(picker, true);
}

void ProfileViewController::didFinishPickingMediaWithInfo(ui::ImagePickerController& picker,
                                                          const ui::ImagePickerInfo& info) {
    picker.dismissViewControllerAnimated(true);
    status->setHidden(false);
    auto me = User::getCurrentUser();
    const auto found = info.find(ui::UIImagePickerControllerOriginalImage);
    if (!me || found == info.end() || !found->second) {
        // Nothing to upload: nothing runs, so nothing stays shown as running.
        status->setHidden(true);
        return;
    }
    ImagePtr image = found->second;
    me->setProfileImage(image, [screen = self(), image](std::int32_t code, Info info) {
        if (code == 0) {
            screen->status->setHidden(true);
            screen->profileImage->setImage(image);
        } else if (code == 1) {
            screen->status->setHidden(true);
            ScreenSupport::presentOK(*screen, "Upload failed", info.value_or(""),
                                     [screen] { screen->status->setHidden(true); });
        }
    });
}

void ProfileViewController::imagePickerControllerDidCancel(ui::ImagePickerController& picker) {
    picker.dismissViewControllerAnimated(true);
}

void ProfileViewController::deleteProfileImageTapped() {
    auto me = User::getCurrentUser();
    if (!me) return;
    status->setHidden(false);
    me->deleteProfileImageWithCompletitionHandler([screen = self()](std::int32_t code, Info info) {
        screen->status->setHidden(true);
        if (code == 0) {
            screen->profileImage->setImage(User::getDefaultProfileImage());
        } else if (code == 1) {
            ScreenSupport::presentOK(*screen, "Failed", info.value_or(""), [screen] { screen->status->setHidden(true); });
        }
    });
}

void ProfileViewController::logout() {
    auto me = User::getCurrentUser();
    if (me && me->registrationFromSocial) {
        auto& env = *platform::Environment::current();
        env.facebook->logOut();
        env.twitter->logOut();
    }
    KelpaDefaults::removeUserID();
    // The unjoin goes out while the user is still current, so it carries the user's identifier:
    // sent without it, the service refuses it and the member would stay joined after signing out.
    if (auto joined = Group::getJoinedGroup()) {
        joined->unjoinWithCompletitionHandler([](std::int32_t code, Info) {
            if (code != 0) platform::log("failed to unjoin");
        });
    }
    User::setCurrentUser(nullptr);
    // Nobody is signed in to be found nearby any more.
    MasterViewController::setGroupToAdvertise(nullptr);
    MasterViewController::stopAdvertisingEverywhere();
    auto signIn = ui::Storyboard::storyboardWithName(MainStoryboard::kName)
                      ->instantiateViewControllerWithIdentifier("AuthViewControllerNav");
    if (signIn) presentViewController(signIn, true);
}

}  // namespace kelpa
