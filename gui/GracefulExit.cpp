#include "gui/GracefulExit.h"

#include "platform/Log.h"
#include "platform/ui/Application.h"

#include <QCoreApplication>
#include <QEvent>
#include <QQuickWindow>
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace kelpa::gui {

namespace {
// A signal handler may only write: the byte wakes the event loop, which does the rest.
int gSignalPipe[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(gSignalPipe[1], &byte, 1);
}

constexpr std::chrono::milliseconds kPoll{20};
}  // namespace

GracefulExit::GracefulExit(std::shared_ptr<platform::QtMainQueue> queue, std::chrono::milliseconds grace,
                           QObject* parent)
    : QObject(parent), queue_(std::move(queue)), grace_(grace) {}

GracefulExit::~GracefulExit() {
    if (!notifier_) return;
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
}

void GracefulExit::watchSignals() {
    if (notifier_) return;
    if (gSignalPipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, gSignalPipe) != 0) {
        platform::log("cannot watch SIGINT and SIGTERM");
        return;
    }
    notifier_ = new QSocketNotifier(gSignalPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char byte;
        [[maybe_unused]] const auto read = ::read(gSignalPipe[0], &byte, 1);
        begin();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

void GracefulExit::watchWindow(QQuickWindow* window) {
    if (window) window->installEventFilter(this);
}

bool GracefulExit::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close) {
        event->ignore();
        begin();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void GracefulExit::begin() {
    if (begun_) return;
    begun_ = true;
    deadline_ = std::chrono::steady_clock::now() + grace_;
    if (auto application = platform::ui::Application::sharedApplication()) application->terminate();
    waitForWork();
}

void GracefulExit::waitForWork() {
    const bool timeUp = std::chrono::steady_clock::now() >= deadline_;
    if (queue_ && queue_->workInFlight() > 0 && !timeUp) {
        QTimer::singleShot(kPoll, this, [this] { waitForWork(); });
        return;
    }
    if (timeUp && queue_ && queue_->workInFlight() > 0) platform::log("leaving with requests still unanswered");
    // A finished request has posted its completion; it runs before the loop stops. (exit, not
    // quit: quit asks the windows to close first, and the window is held open until now.)
    QMetaObject::invokeMethod(QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

}  // namespace kelpa::gui
