#pragma once

#include "gui/QtMainQueue.h"

#include <QObject>

#include <chrono>
#include <memory>

class QQuickWindow;
class QSocketNotifier;

namespace kelpa::gui {

// The end of the app on window close, SIGINT or SIGTERM: the application hears it is about to
// terminate (and sends its last requests), and the event loop keeps running until no
// background work is in flight, at most for the grace period, before it stops.
class GracefulExit : public QObject {
    Q_OBJECT

public:
    explicit GracefulExit(std::shared_ptr<platform::QtMainQueue> queue,
                          std::chrono::milliseconds grace = std::chrono::seconds(2), QObject* parent = nullptr);
    ~GracefulExit() override;

    void watchSignals();
    // The window stays open until the end instead of closing at once.
    void watchWindow(QQuickWindow* window);
    void begin();
    bool hasBegun() const { return begun_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void waitForWork();

    std::shared_ptr<platform::QtMainQueue> queue_;
    std::chrono::milliseconds grace_;
    std::chrono::steady_clock::time_point deadline_;
    QSocketNotifier* notifier_ = nullptr;
    bool begun_ = false;
};

}  // namespace kelpa::gui
