#include "platform/ui/ImageView.h"

namespace kelpa::platform::ui {

void ImageView::setImage(ImagePtr image) {
    if (image_ == image) return;
    image_ = std::move(image);
    changed();
}

}  // namespace kelpa::platform::ui
