#pragma once

#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImagePickerController.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/ViewController.h"

#include <memory>

namespace kelpa {

// The last onboarding step: confirm the display name, choose a picture, and finish the
// registration, after which the tabs follow.
class ProfileSetupViewController : public platform::ui::ViewController,
                                   public platform::ui::ImagePickerControllerDelegate {
public:
    const char* className() const override { return "ProfileSetupViewController"; }

    void loadView() override;
    void viewDidLoad() override;
    void touchesBegan() override;

    void finish();
    void selectFromLibrary();
    void takePicture();

    void didFinishPickingMediaWithInfo(platform::ui::ImagePickerController& picker,
                                       const platform::ui::ImagePickerInfo& info) override;
    void imagePickerControllerDidCancel(platform::ui::ImagePickerController& picker) override;

    std::shared_ptr<platform::ui::ImageView> profileImage;
    std::shared_ptr<platform::ui::TextField> displayname;
    std::shared_ptr<platform::ui::ActivityIndicatorView> status;
    std::shared_ptr<platform::ui::Button> libraryButton;
    std::shared_ptr<platform::ui::Button> cameraButton;
    std::shared_ptr<platform::ui::Button> finishButton;
};

}  // namespace kelpa
