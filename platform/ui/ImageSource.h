#pragma once

namespace kelpa::platform::ui {

enum class ImagePickerSourceType { photoLibrary = 0, camera = 1, savedPhotosAlbum = 2 };

// Which picture sources the device has. Without one installed there is a library and no camera.
class ImageSource {
public:
    virtual ~ImageSource() = default;
    virtual bool isSourceTypeAvailable(ImagePickerSourceType type) const = 0;
};

}  // namespace kelpa::platform::ui
