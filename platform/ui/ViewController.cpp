#include "platform/ui/ViewController.h"

#include "platform/Log.h"
#include "platform/ui/Button.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Storyboard.h"
#include "platform/ui/StoryboardSegue.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/Window.h"

#include <fmt/format.h>

namespace kelpa::platform::ui {

ViewController::ViewController() = default;

ViewController::~ViewController() {
    if (presented_) presented_->presenting_ = nullptr;
}

const std::shared_ptr<View>& ViewController::view() {
    if (!view_) {
        loadView();
        if (!view_) view_ = std::make_shared<View>("view");
        viewDidLoad();
    }
    return view_;
}

void ViewController::loadView() { view_ = std::make_shared<View>("view"); }

void ViewController::setTitle(std::string title) {
    if (title_ == title) return;
    title_ = std::move(title);
    notifyChanged();
}

NavigationController* ViewController::navigationController() const {
    for (ViewController* v = parent_; v; v = v->parent_) {
        if (auto* navigation = dynamic_cast<NavigationController*>(v)) return navigation;
    }
    return nullptr;
}

TabBarController* ViewController::tabBarController() const {
    for (ViewController* v = parent_; v; v = v->parent_) {
        if (auto* tabs = dynamic_cast<TabBarController*>(v)) return tabs;
    }
    return nullptr;
}

ViewController* ViewController::presentationRoot() {
    ViewController* v = this;
    while (v->parent_) v = v->parent_;
    return v;
}

ViewController* ViewController::topOfPresentations() {
    ViewController* v = this;
    while (v->presented_) v = v->presented_.get();
    return v;
}

void ViewController::releasePresentations() {
    std::vector<std::shared_ptr<ViewController>> chain;
    for (auto v = presented_; v; v = v->presented_) chain.push_back(v);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        (*it)->presenting_ = nullptr;
        (*it)->presented_.reset();
    }
    presented_.reset();
}

Window* ViewController::window() const {
    const ViewController* v = this;
    while (v) {
        while (v->parent_) v = v->parent_;
        if (v->window_) return v->window_;
        v = v->presenting_;
    }
    return nullptr;
}

bool ViewController::isOnScreen() const {
    auto* w = window();
    return w && w->isVisible(this);
}

void ViewController::notifyChanged() {
    auto observers = observers_;
    for (auto& observer : observers) observer();
    if (auto* w = window()) w->changed();
}

void ViewController::beginAppearance(bool appearing, bool animated) {
    if (appearing) {
        if (appearance_ == Appearance::appearing || appearance_ == Appearance::shown) return;
        loadViewIfNeeded();
        appearance_ = Appearance::appearing;
        viewWillAppear(animated);
    } else {
        if (appearance_ == Appearance::hidden || appearance_ == Appearance::disappearing) return;
        appearance_ = Appearance::disappearing;
        viewWillDisappear(animated);
    }
    for (auto* child : visibleChildren()) child->beginAppearance(appearing, animated);
}

void ViewController::endAppearance(bool appearing, bool animated) {
    if (appearing) {
        if (appearance_ != Appearance::appearing) return;
        appearance_ = Appearance::shown;
        viewDidAppear(animated);
    } else {
        if (appearance_ != Appearance::disappearing) return;
        appearance_ = Appearance::hidden;
        viewDidDisappear(animated);
    }
    for (auto* child : visibleChildren()) child->endAppearance(appearing, animated);
}

void ViewController::presentViewController(std::shared_ptr<ViewController> controller, bool animated,
                                           Completion completion) {
    if (!controller || controller->presenting_ || controller.get() == this) return;
    auto keep = shared_from_this();
    // Presentations stack: the new screen goes on top of whatever the window shows.
    Window* w = window();
    ViewController* base = w && w->rootViewController() ? w->rootViewController()->topOfPresentations()
                                                        : presentationRoot()->topOfPresentations();
    base->presented_ = controller;
    controller->presenting_ = base;
    controller->lastTransitionAnimated_ = animated;
    if (w) {
        if (controller->coversPresenter()) {
            base->beginAppearance(false, animated);
            base->endAppearance(false, animated);
        }
        controller->beginAppearance(true, animated);
        controller->endAppearance(true, animated);
    }
    notifyChanged();
    if (completion) completion();
}

void ViewController::dismissViewControllerAnimated(bool animated, Completion completion) {
    auto keep = shared_from_this();
    std::shared_ptr<ViewController> target = presented_;
    ViewController* presenter = this;
    if (!target) {
        if (!presenting_) {
            if (completion) completion();
            return;
        }
        presenter = presenting_;
        target = presenter->presented_;
    }
    Window* w = window();
    // Everything from the top down to the dismissed screen goes away.
    std::vector<std::shared_ptr<ViewController>> chain;
    for (auto v = target; v; v = v->presented_) chain.push_back(v);
    const bool covered = target->coversPresenter();
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        (*it)->lastTransitionAnimated_ = animated;
        if (w) {
            (*it)->beginAppearance(false, animated);
            (*it)->endAppearance(false, animated);
        }
    }
    for (auto& v : chain) {
        v->presenting_ = nullptr;
        v->presented_.reset();
    }
    presenter->presented_.reset();
    if (w && covered) {
        presenter->beginAppearance(true, animated);
        presenter->endAppearance(true, animated);
    }
    if (w) w->changed();
    notifyChanged();
    if (completion) completion();
}

void ViewController::performSegueWithIdentifier(const std::string& identifier, View* sender) {
    if (!storyboard_) {
        log(fmt::format("{} has no storyboard for segue \"{}\"", className(), identifier));
        return;
    }
    auto destination = storyboard_->destinationOfSegue(className(), identifier);
    if (!destination) {
        log(fmt::format("{} has no segue \"{}\"", className(), identifier));
        return;
    }
    auto keep = shared_from_this();
    StoryboardSegue segue(identifier, keep, destination);
    prepareForSegue(segue, sender);
    if (storyboard_->segueKind(className(), identifier) == Storyboard::SegueKind::show && navigationController()) {
        navigationController()->pushViewController(destination, true);
    } else {
        presentViewController(destination, true);
    }
}

void ViewController::triggerSegue(const std::string& identifier, View* sender) {
    if (!shouldPerformSegueWithIdentifier(identifier, sender)) return;
    performSegueWithIdentifier(identifier, sender);
}

void ViewController::connectSegue(const std::shared_ptr<Button>& button, const std::string& identifier) {
    button->setSegueIdentifier(identifier);
    std::weak_ptr<ViewController> weak = weak_from_this();
    button->addTarget(Control::Event::primaryAction, [weak, identifier](Control& sender) {
        if (auto self = weak.lock()) self->triggerSegue(identifier, &sender);
    });
}

}  // namespace kelpa::platform::ui
