#pragma once

#include "platform/Image.h"

#include <QImage>

#include <memory>
#include <optional>

namespace kelpa::gui {

// The toolkit's RGBA pictures as Qt images and back.
class ImageConversion {
public:
    // A null image for none or a malformed one.
    static QImage toQImage(const platform::Image& image);
    static QImage toQImage(const std::shared_ptr<const platform::Image>& image);
    static std::optional<platform::Image> fromQImage(const QImage& image);
};

}  // namespace kelpa::gui
