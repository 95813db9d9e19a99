#pragma once

#include "gui/QtMainQueue.h"
#include "gui/StartOptions.h"
#include "platform/Environment.h"

#include <memory>

namespace kelpa::gui {

// The environment of the running app: the installation's preferences and files (KELPA_HOME,
// as kelpactl uses them), the main queue on the Qt event loop, and the device services the
// options and the machine call for.
class AppEnvironment {
public:
    // Makes it and installs it as the current environment; call on the Qt main thread.
    static std::shared_ptr<platform::Environment> install(const StartOptions& options);
    // The installed main queue, as the Qt one.
    static std::shared_ptr<platform::QtMainQueue> mainQueue();

private:
    static void addDeviceServices(platform::Environment& env, const StartOptions& options);
};

}  // namespace kelpa::gui
