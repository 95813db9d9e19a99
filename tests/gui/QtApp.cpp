#include "QtApp.h"

#include <QEventLoop>
#include <QTimer>

namespace kelpa::testing {

QGuiApplication& qtApp() {
    static int argc = 1;
    static char name[] = "kelpa-gui-test";
    static char* argv[] = {name, nullptr};
    static auto* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    return *app;
}

bool spinUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    qtApp();
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        // Wakes for any event, or at least every 10 ms to look at the condition again.
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

void spinOnce() {
    qtApp();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();
}

}  // namespace kelpa::testing
