#include "gui/backends/CameraProbe.h"

namespace kelpa::platform::ui {

// Built without Qt Multimedia: nothing here can list cameras.
bool CameraProbe::cameraPresent() { return false; }

}  // namespace kelpa::platform::ui
