#pragma once

namespace kelpa::platform::ui {

// Whether the machine has a camera Qt can take pictures with. The build picks the source file:
// Qt Multimedia's device list when it is installed, otherwise never a camera.
class CameraProbe {
public:
    static bool cameraPresent();
};

}  // namespace kelpa::platform::ui
