#include "platform/ui/Window.h"

#include "platform/ui/ViewController.h"

#include <algorithm>

namespace kelpa::platform::ui {

Window::Window(Size size) : size_(size) {}

Window::~Window() {
    if (root_) {
        root_->window_ = nullptr;
        root_->releasePresentations();
    }
}

void Window::setRootViewController(std::shared_ptr<ViewController> controller) {
    if (controller == root_) return;
    auto previous = root_;
    if (previous) {
        // The old screens leave, top presentation first.
        std::vector<ViewController*> chain;
        for (ViewController* v = previous.get(); v; v = v->presentedViewController().get()) chain.push_back(v);
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            (*it)->beginAppearance(false, false);
            (*it)->endAppearance(false, false);
        }
        previous->window_ = nullptr;
        previous->releasePresentations();
    }
    root_ = std::move(controller);
    if (root_) {
        root_->window_ = this;
        ViewController* top = root_->topOfPresentations();
        top->beginAppearance(true, false);
        top->endAppearance(true, false);
    }
    changed();
}

ViewController* Window::topPresentedViewController() const {
    return root_ ? root_->topOfPresentations() : nullptr;
}

ViewController* Window::frontmostViewController() const {
    ViewController* v = topPresentedViewController();
    while (v) {
        auto children = v->visibleChildren();
        if (children.empty()) break;
        v = children.back();
    }
    return v;
}

std::vector<ViewController*> Window::visibleViewControllers() const {
    std::vector<ViewController*> levels;
    for (ViewController* v = root_.get(); v; v = v->presentedViewController().get()) levels.push_back(v);
    // From the top down to the first presentation that hides what is below it.
    std::vector<ViewController*> visible;
    for (auto it = levels.rbegin(); it != levels.rend(); ++it) {
        std::vector<ViewController*> pending{*it};
        while (!pending.empty()) {
            ViewController* v = pending.back();
            pending.pop_back();
            visible.push_back(v);
            for (auto* child : v->visibleChildren()) pending.push_back(child);
        }
        if ((*it)->coversPresenter()) break;
    }
    return visible;
}

bool Window::isVisible(const ViewController* controller) const {
    auto visible = visibleViewControllers();
    return std::find(visible.begin(), visible.end(), controller) != visible.end();
}

void Window::setSize(Size size) {
    if (size_ == size) return;
    size_ = size;
    changed();
}

void Window::changed() {
    auto observers = observers_;
    for (auto& observer : observers) observer();
}

}  // namespace kelpa::platform::ui
