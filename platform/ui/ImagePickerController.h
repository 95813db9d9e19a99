#pragma once

#include "platform/Image.h"
#include "platform/ui/ImageSource.h"
#include "platform/ui/ViewController.h"

#include <map>
#include <memory>
#include <string>

namespace kelpa::platform::ui {

class ImagePickerController;

inline constexpr const char* UIImagePickerControllerOriginalImage = "UIImagePickerControllerOriginalImage";
using ImagePickerInfo = std::map<std::string, std::shared_ptr<const Image>>;

class ImagePickerControllerDelegate {
public:
    virtual ~ImagePickerControllerDelegate() = default;
    virtual void didFinishPickingMediaWithInfo(ImagePickerController& picker, const ImagePickerInfo& info) = 0;
    virtual void imagePickerControllerDidCancel(ImagePickerController& picker) = 0;
};

// The platform's picture chooser, presented as a screen. A renderer shows a file dialog or a
// camera; tests pick through the Driver.
class ImagePickerController : public ViewController {
public:
    const char* className() const override { return "ImagePickerController"; }

    static bool isSourceTypeAvailable(ImagePickerSourceType type);

    ImagePickerSourceType sourceType() const { return sourceType_; }
    void setSourceType(ImagePickerSourceType type) { sourceType_ = type; }
    void setDelegate(std::weak_ptr<ImagePickerControllerDelegate> delegate) { delegate_ = std::move(delegate); }

    // The chooser's outcome: tells the delegate (which dismisses the picker).
    void finishPicking(std::shared_ptr<const Image> image);
    void cancel();

private:
    ImagePickerSourceType sourceType_ = ImagePickerSourceType::photoLibrary;
    std::weak_ptr<ImagePickerControllerDelegate> delegate_;
};

}  // namespace kelpa::platform::ui
