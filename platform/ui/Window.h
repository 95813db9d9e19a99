#pragma once

#include "platform/ui/Geometry.h"

#include <functional>
#include <memory>
#include <vector>

namespace kelpa::platform::ui {

class ViewController;

// The application's one window. Navigation at the top level replaces its root screen; modal
// screens stack on top of the root.
class Window {
public:
    using Observer = std::function<void()>;

    explicit Window(Size size = {390, 844});
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    const std::shared_ptr<ViewController>& rootViewController() const { return root_; }
    void setRootViewController(std::shared_ptr<ViewController> controller);

    // The screen at the top of the presentations (an alert, a modal screen or the root).
    ViewController* topPresentedViewController() const;
    // The screen a person looks at: the top presentation, down through its containers.
    ViewController* frontmostViewController() const;
    // The screens a person sees: the top presentations that let what is below show through,
    // the one below them, and the containers holding each.
    std::vector<ViewController*> visibleViewControllers() const;
    bool isVisible(const ViewController* controller) const;

    Size size() const { return size_; }
    void setSize(Size size);

    void observe(Observer observer) { observers_.push_back(std::move(observer)); }
    void changed();

private:
    std::shared_ptr<ViewController> root_;
    Size size_;
    std::vector<Observer> observers_;
};

}  // namespace kelpa::platform::ui
