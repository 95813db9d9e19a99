#include "gui/backends/CameraProbe.h"

#include <QMediaDevices>

namespace kelpa::platform::ui {

// Asked each time: a camera may be plugged in or out while the app runs.
bool CameraProbe::cameraPresent() { return !QMediaDevices::videoInputs().isEmpty(); }

}  // namespace kelpa::platform::ui
