#pragma once

#include <QGuiApplication>

#include <chrono>
#include <functional>

namespace kelpa::testing {

// The one Qt application object of the test binary, made on first use: a GUI application on
// the offscreen platform, so items can be made without a screen.
QGuiApplication& qtApp();

// Runs the Qt event loop until the condition holds or the time is up; returns the condition.
// It waits for events (replies, timers), it does not sleep.
bool spinUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit = std::chrono::seconds(10));
// Handles what is posted now, without waiting for anything else.
void spinOnce();

}  // namespace kelpa::testing
