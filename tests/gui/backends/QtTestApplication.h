#pragma once

#include <chrono>
#include <functional>

namespace kelpa::testing {

class TestEnvironment;

// The QGuiApplication the Qt backends need, made once per test process, on the offscreen
// platform unless QT_QPA_PLATFORM says otherwise.
void ensureQtApplication();

// Runs Qt's events and the test's main queue until the condition holds; false when it still
// does not after `limit` of real time. For answers that cross Qt D-Bus's own thread.
bool pumpUntil(TestEnvironment& t, const std::function<bool()>& condition,
               std::chrono::milliseconds limit = std::chrono::seconds(10));

}  // namespace kelpa::testing
