#include "gui/adapters/ImageViewAdapter.h"

#include "gui/adapters/ImageConversion.h"
#include "platform/ui/ImageView.h"

namespace kelpa::gui {

QImage ImageViewAdapter::image() const {
    auto view = as<platform::ui::ImageView>();
    const auto& image = view ? view->image() : nullptr;
    if (!image) return {};
    if (converted_.lock() != image) {
        cache_ = ImageConversion::toQImage(*image);
        converted_ = image;
    }
    return cache_;
}

}  // namespace kelpa::gui
