#include "gui/adapters/ImageConversion.h"

#include <cstring>

namespace kelpa::gui {

QImage ImageConversion::toQImage(const platform::Image& image) {
    const auto bytes = static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) * 4;
    if (image.empty() || image.rgba.size() != bytes) return {};
    // The pixels are copied: the QImage outlives nothing it does not own.
    return QImage(image.rgba.data(), image.width, image.height, image.width * 4, QImage::Format_RGBA8888).copy();
}

QImage ImageConversion::toQImage(const std::shared_ptr<const platform::Image>& image) {
    return image ? toQImage(*image) : QImage();
}

std::optional<platform::Image> ImageConversion::fromQImage(const QImage& image) {
    if (image.isNull()) return std::nullopt;
    const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
    platform::Image result{rgba.width(), rgba.height(), {}};
    result.rgba.resize(static_cast<std::size_t>(rgba.width()) * static_cast<std::size_t>(rgba.height()) * 4);
    const auto rowBytes = static_cast<std::size_t>(rgba.width()) * 4;
    for (int y = 0; y < rgba.height(); ++y) {
        std::memcpy(result.rgba.data() + rowBytes * static_cast<std::size_t>(y), rgba.constScanLine(y), rowBytes);
    }
    return result;
}

}  // namespace kelpa::gui
