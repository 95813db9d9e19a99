#include "QtTestApplication.h"

#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTimer>

namespace kelpa::testing {

void ensureQtApplication() {
    if (QCoreApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "gui_backends_test";
    static char* argv[] = {name, nullptr};
    // Lives as long as the process: Qt allows one application object, made once.
    static QGuiApplication* application = new QGuiApplication(argc, argv);
    (void)application;
}

bool pumpUntil(TestEnvironment& t, const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    // Wakes the event loop now and then so that the deadline is seen without an event.
    QTimer tick;
    tick.start(20);
    while (true) {
        t.loop().runUntilIdle();
        if (condition()) return true;
        if (std::chrono::steady_clock::now() > deadline) return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

}  // namespace kelpa::testing
