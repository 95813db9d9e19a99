#include "QtApp.h"
#include "TestEnvironment.h"
#include "gui/GracefulExit.h"
#include "gui/QtMainQueue.h"
#include "platform/Async.h"
#include "platform/ui/Application.h"
#include "platform/ui/Window.h"

#include <gtest/gtest.h>

#include <QTimer>

#include <atomic>
#include <thread>

namespace kelpa::testing {
namespace {

using namespace std::chrono_literals;

// An application whose last word is a request that takes `lasts` to answer.
class LastRequest : public platform::ui::ApplicationDelegate {
public:
    explicit LastRequest(std::chrono::milliseconds lasts) : lasts_(lasts) {}
    bool didFinishLaunchingWithOptions(platform::ui::Application&, const platform::ui::LaunchOptions&) override {
        return true;
    }
    void applicationWillTerminate(platform::ui::Application&) override {
        ++told;
        platform::runInBackground(
            "unjoin", [lasts = lasts_] { std::this_thread::sleep_for(lasts); return 0; },
            [this](int) { answered = true; });
    }
    std::shared_ptr<platform::ui::Window> window() override { return window_; }

    int told = 0;
    bool answered = false;

private:
    std::chrono::milliseconds lasts_;
    std::shared_ptr<platform::ui::Window> window_ = std::make_shared<platform::ui::Window>();
};

class GracefulExitTest : public ::testing::Test {
protected:
    void SetUp() override {
        qtApp();
        t.env().mainQueue = queue;
    }
    // Starts the end and runs the event loop until it stops; how long that took.
    std::chrono::milliseconds endWith(std::shared_ptr<LastRequest> delegate, std::chrono::milliseconds grace) {
        auto application = std::make_shared<platform::ui::Application>(delegate);
        platform::ui::Application::launch(application);
        gui::GracefulExit exit(queue, grace);
        const auto start = std::chrono::steady_clock::now();
        QTimer::singleShot(0, [&] {
            exit.begin();
            exit.begin();  // a second signal changes nothing
        });
        QCoreApplication::exec();
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    }

    TestEnvironment t;
    std::shared_ptr<platform::QtMainQueue> queue = std::make_shared<platform::QtMainQueue>();
};

TEST_F(GracefulExitTest, TheLoopRunsUntilTheLastRequestIsAnswered) {
    auto delegate = std::make_shared<LastRequest>(100ms);
    const auto took = endWith(delegate, 2s);
    EXPECT_EQ(delegate->told, 1);
    EXPECT_TRUE(delegate->answered);  // its completion ran before the loop stopped
    EXPECT_GE(took, 100ms);
    EXPECT_LT(took, 2s);
}

TEST_F(GracefulExitTest, ARequestThatTakesTooLongIsNotWaitedFor) {
    auto delegate = std::make_shared<LastRequest>(1500ms);
    const auto took = endWith(delegate, 150ms);
    EXPECT_FALSE(delegate->answered);
    EXPECT_GE(took, 150ms);
    EXPECT_LT(took, 1400ms);
    EXPECT_TRUE(t.logged("leaving with requests still unanswered"));
    // The request finishes in the background; the test's environment waits for it.
    spinUntil([&] { return queue->workInFlight() == 0; }, 3s);
    spinOnce();
}

}  // namespace
}  // namespace kelpa::testing
