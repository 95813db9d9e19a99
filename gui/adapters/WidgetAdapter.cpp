#include "gui/adapters/WidgetAdapter.h"

#include "platform/ui/Control.h"

#include <QPointer>

namespace kelpa::gui {

namespace ui = platform::ui;

WidgetAdapter::WidgetAdapter(QString missingName, QObject* parent)
    : QObject(parent), name_(std::move(missingName)), kind_("Missing") {}

WidgetAdapter::WidgetAdapter(std::shared_ptr<ui::View> view, QObject* parent)
    : QObject(parent),
      name_(QString::fromStdString(view->name())),
      kind_(QString::fromUtf8(view->kind())),
      exists_(true),
      view_(view) {
    watchAncestors();
}

WidgetAdapter::~WidgetAdapter() { unwatch(); }

void WidgetAdapter::unwatch() {
    for (auto& [weak, id] : watched_) {
        if (auto v = weak.lock()) v->unobserve(id);
    }
    watched_.clear();
}

// The view and every view it sits in: hiding a container hides what is in it.
void WidgetAdapter::watchAncestors() {
    auto v = view_.lock();
    std::vector<const ui::View*> chain;
    for (ui::View* each = v.get(); each; each = each->superview()) chain.push_back(each);
    if (chain == chain_) return;
    unwatch();
    chain_ = chain;
    if (!v) return;
    QPointer<WidgetAdapter> self(this);
    for (ui::View* each = v.get(); each; each = each->superview()) {
        const bool own = each == v.get();
        auto id = each->observe([self, own] {
            if (!self) return;
            // The chain may have changed with a move to another superview.
            if (own) self->watchAncestors();
            self->scheduleChanged();
        });
        watched_.emplace_back(each->weak_from_this(), id);
    }
}

void WidgetAdapter::scheduleChanged() {
    if (pending_) return;
    pending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            pending_ = false;
            modelChanged();
            emit changed();
        },
        Qt::QueuedConnection);
}

QString WidgetAdapter::accessibleName() const {
    auto v = view_.lock();
    return v ? QString::fromStdString(v->accessibleName()) : name_;
}

bool WidgetAdapter::isVisible() const {
    auto v = view_.lock();
    if (!v) return false;
    for (ui::View* each = v.get(); each; each = each->superview()) {
        if (each->isHidden()) return false;
    }
    return true;
}

bool WidgetAdapter::isEnabled() const {
    auto v = view_.lock();
    if (!v) return false;
    for (ui::View* each = v.get(); each; each = each->superview()) {
        if (!each->isUserInteractionEnabled()) return false;
    }
    auto* control = dynamic_cast<ui::Control*>(v.get());
    return !control || control->isEnabled();
}

double WidgetAdapter::opacity() const {
    auto v = view_.lock();
    return v ? v->alpha() : 1.0;
}

double WidgetAdapter::cornerRadius() const {
    auto v = view_.lock();
    return v ? v->cornerRadius() : 0.0;
}

double WidgetAdapter::scaleX() const {
    auto v = view_.lock();
    return v ? v->transform().scaleX : 1.0;
}

double WidgetAdapter::scaleY() const {
    auto v = view_.lock();
    return v ? v->transform().scaleY : 1.0;
}

}  // namespace kelpa::gui
