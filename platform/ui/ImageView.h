#pragma once

#include "platform/Image.h"
#include "platform/ui/View.h"

#include <memory>

namespace kelpa::platform::ui {

class ImageView : public View {
public:
    using ImagePtr = std::shared_ptr<const Image>;

    using View::View;
    explicit ImageView(ImagePtr image) { image_ = std::move(image); }
    const char* kind() const override { return "ImageView"; }

    const ImagePtr& image() const { return image_; }
    void setImage(ImagePtr image);

private:
    ImagePtr image_;
};

}  // namespace kelpa::platform::ui
