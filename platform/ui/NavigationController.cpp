#include "platform/ui/NavigationController.h"

namespace kelpa::platform::ui {

NavigationController::NavigationController(std::shared_ptr<ViewController> root) {
    if (root) {
        root->setParent(this);
        stack_.push_back(std::move(root));
    }
}

std::vector<ViewController*> NavigationController::visibleChildren() const {
    if (stack_.empty()) return {};
    return {stack_.back().get()};
}

void NavigationController::replaceTop(ViewController* leaving, ViewController* arriving, bool animated) {
    // Only a stack that is itself showing moves its screens in and out of view.
    const bool showing = isAppeared();
    if (showing && leaving) leaving->beginAppearance(false, animated);
    if (showing && arriving) arriving->beginAppearance(true, animated);
    if (showing && leaving) leaving->endAppearance(false, animated);
    if (showing && arriving) arriving->endAppearance(true, animated);
    lastStackAnimated_ = animated;
    notifyChanged();
}

void NavigationController::pushViewController(std::shared_ptr<ViewController> controller, bool animated) {
    if (!controller || controller->parentViewController()) return;
    auto keep = shared_from_this();
    ViewController* leaving = topViewController();
    controller->setParent(this);
    stack_.push_back(controller);
    replaceTop(leaving, controller.get(), animated);
}

std::shared_ptr<ViewController> NavigationController::popViewControllerAnimated(bool animated) {
    if (stack_.size() < 2) return nullptr;
    auto keep = shared_from_this();
    auto leaving = stack_.back();
    stack_.pop_back();
    replaceTop(leaving.get(), stack_.back().get(), animated);
    leaving->setParent(nullptr);
    return leaving;
}

void NavigationController::popToRootViewControllerAnimated(bool animated) {
    if (stack_.size() < 2) return;
    auto keep = shared_from_this();
    auto leaving = stack_.back();
    std::vector<std::shared_ptr<ViewController>> removed(stack_.begin() + 1, stack_.end());
    stack_.resize(1);
    replaceTop(leaving.get(), stack_.front().get(), animated);
    for (auto& controller : removed) controller->setParent(nullptr);
}

void NavigationController::setNavigationBarHidden(bool hidden, bool animated) {
    lastBarChangeAnimated_ = animated;
    if (barHidden_ == hidden) return;
    barHidden_ = hidden;
    notifyChanged();
}

}  // namespace kelpa::platform::ui
