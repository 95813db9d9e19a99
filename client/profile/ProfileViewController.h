#pragma once

#include "client/bluetooth/MasterViewController.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImagePickerController.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/TextField.h"

#include <memory>

namespace kelpa {

// The signed-in user's own page: identifier, kind of sign-in, display name and picture, with
// renaming, a new or no picture, and signing out.
class ProfileViewController : public MasterViewController, public platform::ui::ImagePickerControllerDelegate {
public:
    const char* className() const override { return "ProfileViewController"; }

    void loadView() override;
    void viewDidLoad() override;
    void touchesBegan() override;

    void updateDisplayName();
    void takePicture();
    void selectPicture();
    void deleteProfileImageTapped();
    void logout();

    void didFinishPickingMediaWithInfo(platform::ui::ImagePickerController& picker,
                                       const platform::ui::ImagePickerInfo& info) override;
    void imagePickerControllerDidCancel(platform::ui::ImagePickerController& picker) override;

    std::shared_ptr<platform::ui::TextField> userID;
    std::shared_ptr<platform::ui::TextField> socialType;
    std::shared_ptr<platform::ui::TextField> displayName;
    std::shared_ptr<platform::ui::ImageView> profileImage;
    std::shared_ptr<platform::ui::Button> deleteProfileImage;
    std::shared_ptr<platform::ui::ActivityIndicatorView> status;

private:
    std::shared_ptr<ProfileViewController> self();
    std::shared_ptr<platform::ui::Button> addButton(const char* name, const char* title, void (ProfileViewController::*action)());
};

}  // namespace kelpa
