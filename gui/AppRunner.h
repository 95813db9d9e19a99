#pragma once

#include "gui/StartOptions.h"

namespace kelpa::gui {

// The app's life: its environment, the application and its delegate, the window on screen,
// the event loop, and the orderly end.
class AppRunner {
public:
    // Runs until the app ends; the exit code.
    static int run(const StartOptions& options);
};

}  // namespace kelpa::gui
