#pragma once

#include "platform/Image.h"
#include "platform/ui/ImageSource.h"

#include <filesystem>
#include <functional>
#include <optional>

namespace kelpa::platform::ui {

// The picture sources of a desktop: the library is a file dialog, always there; the camera
// is there when Qt reports one.
class QtImageSource : public ImageSource {
public:
    using CameraPresence = std::function<bool()>;

    // Cameras as the build can see them (CameraProbe).
    QtImageSource();
    explicit QtImageSource(CameraPresence cameraPresent);

    bool isSourceTypeAvailable(ImagePickerSourceType type) const override;

    // A picture file the person chose, in any format Qt reads, upright as its orientation tag
    // says and as 8-bit RGBA. None, with a log line, when it cannot be read. Blocks on the
    // file: run it in the background for large pictures.
    static std::optional<Image> loadImageFile(const std::filesystem::path& path);

private:
    CameraPresence cameraPresent_;
};

}  // namespace kelpa::platform::ui
