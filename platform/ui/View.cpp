#include "platform/ui/View.h"

#include <algorithm>

namespace kelpa::platform::ui {

View::View(std::string name) : name_(std::move(name)) {}

View::~View() {
    for (auto& child : subviews_) child->superview_ = nullptr;
}

void View::addSubview(std::shared_ptr<View> view) {
    if (!view || view.get() == this) return;
    view->removeFromSuperview();
    view->superview_ = this;
    subviews_.push_back(std::move(view));
    changed();
}

void View::removeFromSuperview() {
    if (!superview_) return;
    View* parent = superview_;
    superview_ = nullptr;
    auto keep = shared_from_this();
    auto& siblings = parent->subviews_;
    siblings.erase(std::remove_if(siblings.begin(), siblings.end(), [this](const auto& v) { return v.get() == this; }),
                   siblings.end());
    parent->changed();
}

void View::bringSubviewToFront(const std::shared_ptr<View>& view) {
    auto it = std::find(subviews_.begin(), subviews_.end(), view);
    if (it == subviews_.end() || it + 1 == subviews_.end()) return;
    auto keep = *it;
    subviews_.erase(it);
    subviews_.push_back(std::move(keep));
    changed();
}

std::shared_ptr<View> View::viewNamed(std::string_view name) {
    if (name_ == name) return shared_from_this();
    for (const auto& child : subviews_) {
        if (auto found = child->viewNamed(name)) return found;
    }
    return nullptr;
}

void View::setHidden(bool hidden) {
    if (hidden_ == hidden) return;
    hidden_ = hidden;
    changed();
}

void View::setFrame(const Rect& frame) {
    if (frame_ == frame) return;
    frame_ = frame;
    changed();
}

void View::setAlpha(double alpha) {
    if (alpha_ == alpha) return;
    alpha_ = alpha;
    changed();
}

void View::setTransform(const Transform& transform) {
    if (transform_ == transform) return;
    transform_ = transform;
    changed();
}

void View::setCornerRadius(double radius) {
    if (cornerRadius_ == radius) return;
    cornerRadius_ = radius;
    changed();
}

void View::setClipsToBounds(bool clips) {
    if (clipsToBounds_ == clips) return;
    clipsToBounds_ = clips;
    changed();
}

void View::setUserInteractionEnabled(bool enabled) {
    if (userInteractionEnabled_ == enabled) return;
    userInteractionEnabled_ = enabled;
    changed();
}

std::string View::accessibleName() const {
    if (!accessibilityLabel_.empty()) return accessibilityLabel_;
    if (auto title = ownTitle(); !title.empty()) return title;
    return name_;
}

void View::setAccessibilityLabel(std::string label) {
    accessibilityLabel_ = std::move(label);
    changed();
}

bool View::endEditing(bool) {
    bool ended = resignEditing();
    // A copy: ending an edit may change the tree through observers.
    auto children = subviews_;
    for (const auto& child : children) ended = child->endEditing() || ended;
    return ended;
}

namespace {
thread_local const View::Animation* runningAnimation = nullptr;
}  // namespace

void View::animateWithDuration(double duration, const std::function<void()>& changes,
                               const std::function<void(bool)>& completion) {
    animateWithDuration(duration, 0, AnimationCurve::easeInOut, changes, completion);
}

void View::animateWithDuration(double duration, double delay, AnimationCurve curve,
                               const std::function<void()>& changes, const std::function<void(bool)>& completion) {
    const Animation animation{duration, delay, curve};
    const Animation* outer = runningAnimation;
    runningAnimation = &animation;
    if (changes) changes();
    runningAnimation = outer;
    if (completion) completion(true);
}

const View::Animation* View::currentAnimation() { return runningAnimation; }

void View::setCenter(const Point& center) {
    setFrame({center.x - frame_.width / 2, center.y - frame_.height / 2, frame_.width, frame_.height});
}

View::ObserverId View::observe(Observer observer) {
    const ObserverId id = nextObserver_++;
    observers_.emplace(id, std::move(observer));
    return id;
}

void View::unobserve(ObserverId id) { observers_.erase(id); }

void View::changed() {
    if (observers_.empty()) return;
    // Observers may stop observing while being told.
    std::vector<ObserverId> ids;
    ids.reserve(observers_.size());
    for (const auto& [id, observer] : observers_) ids.push_back(id);
    for (ObserverId id : ids) {
        auto it = observers_.find(id);
        if (it == observers_.end()) continue;
        auto observer = it->second;
        observer();
    }
}

}  // namespace kelpa::platform::ui
