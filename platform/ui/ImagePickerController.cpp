#include "platform/ui/ImagePickerController.h"

#include "platform/Environment.h"

namespace kelpa::platform::ui {

bool ImagePickerController::isSourceTypeAvailable(ImagePickerSourceType type) {
    if (auto& source = Environment::current()->imageSource) return source->isSourceTypeAvailable(type);
    return type != ImagePickerSourceType::camera;
}

void ImagePickerController::finishPicking(std::shared_ptr<const Image> image) {
    auto keep = shared_from_this();
    ImagePickerInfo info;
    if (image) info[UIImagePickerControllerOriginalImage] = std::move(image);
    if (auto delegate = delegate_.lock()) delegate->didFinishPickingMediaWithInfo(*this, info);
}

void ImagePickerController::cancel() {
    auto keep = shared_from_this();
    if (auto delegate = delegate_.lock()) delegate->imagePickerControllerDidCancel(*this);
}

}  // namespace kelpa::platform::ui
