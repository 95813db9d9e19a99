#pragma once

#include "platform/ui/ViewController.h"

#include <memory>
#include <vector>

namespace kelpa::platform::ui {

// A stack of screens with a navigation bar and a back button.
class NavigationController : public ViewController {
public:
    NavigationController() = default;
    explicit NavigationController(std::shared_ptr<ViewController> root);
    static std::shared_ptr<NavigationController> initWithRootViewController(std::shared_ptr<ViewController> root) {
        return std::make_shared<NavigationController>(std::move(root));
    }
    const char* className() const override { return "NavigationController"; }

    const std::vector<std::shared_ptr<ViewController>>& viewControllers() const { return stack_; }
    ViewController* topViewController() const { return stack_.empty() ? nullptr : stack_.back().get(); }

    void pushViewController(std::shared_ptr<ViewController> controller, bool animated);
    std::shared_ptr<ViewController> popViewControllerAnimated(bool animated);
    void popToRootViewControllerAnimated(bool animated);
    // The back button: pops unless the stack holds only its root.
    void goBack() { popViewControllerAnimated(true); }

    bool isNavigationBarHidden() const { return barHidden_; }
    void setNavigationBarHidden(bool hidden, bool animated);
    bool lastBarChangeAnimated() const { return lastBarChangeAnimated_; }
    bool lastTransitionOfStackAnimated() const { return lastStackAnimated_; }

    std::vector<ViewController*> visibleChildren() const override;

private:
    void replaceTop(ViewController* leaving, ViewController* arriving, bool animated);

    std::vector<std::shared_ptr<ViewController>> stack_;
    bool barHidden_ = false;
    bool lastBarChangeAnimated_ = false;
    bool lastStackAnimated_ = false;
};

}  // namespace kelpa::platform::ui
