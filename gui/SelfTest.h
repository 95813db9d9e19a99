#pragma once

#include "gui/StartOptions.h"

namespace kelpa::gui {

// `kelpa --self-test`: loads Main.qml with the real engine and shows, one after the other, every
// screen that has a page of its own, the generic page (with every kind of widget), an alert and
// the image picker, in a sandbox (no network, preferences in a temporary folder). Every QML
// error and warning is printed; any makes the test fail. With --screenshot-dir, each screen is
// saved as a PNG there.
class SelfTest {
public:
    // The exit code: 0 when QML said nothing.
    static int run(const StartOptions& options);
};

}  // namespace kelpa::gui
