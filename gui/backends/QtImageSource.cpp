#include "gui/backends/QtImageSource.h"

#include "gui/backends/CameraProbe.h"
#include "platform/Log.h"

#include <QImage>
#include <QImageReader>
#include <QString>

#include <cstring>

namespace kelpa::platform::ui {

QtImageSource::QtImageSource() : QtImageSource(&CameraProbe::cameraPresent) {}

QtImageSource::QtImageSource(CameraPresence cameraPresent) : cameraPresent_(std::move(cameraPresent)) {}

bool QtImageSource::isSourceTypeAvailable(ImagePickerSourceType type) const {
    switch (type) {
    case ImagePickerSourceType::photoLibrary:
    case ImagePickerSourceType::savedPhotosAlbum:
        return true;
    case ImagePickerSourceType::camera:
        return cameraPresent_ && cameraPresent_();
    }
    return false;
}

std::optional<Image> QtImageSource::loadImageFile(const std::filesystem::path& path) {
    QImageReader reader(QString::fromStdString(path.string()));
    // Phone pictures are stored sideways with a tag saying which way is up.
    reader.setAutoTransform(true);
    QImage decoded = reader.read();
    if (decoded.isNull()) {
        log("QtImageSource: cannot read " + path.string() + ": " + reader.errorString().toStdString());
        return std::nullopt;
    }
    // Straight (not premultiplied) alpha, as the codec and the service expect.
    const QImage rgba = decoded.convertToFormat(QImage::Format_RGBA8888);
    Image image;
    image.width = rgba.width();
    image.height = rgba.height();
    const auto rowBytes = static_cast<size_t>(image.width) * 4;
    image.rgba.resize(rowBytes * static_cast<size_t>(image.height));
    // A QImage row may be longer than its pixels; the image is packed.
    for (int y = 0; y < image.height; ++y) {
        std::memcpy(image.rgba.data() + rowBytes * static_cast<size_t>(y), rgba.constScanLine(y), rowBytes);
    }
    return image;
}

}  // namespace kelpa::platform::ui
