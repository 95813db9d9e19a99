#include "gui/adapters/WindowAdapter.h"

#include "platform/ui/ViewController.h"

#include <QPointer>
#include <QTimer>

namespace kelpa::gui {

namespace ui = platform::ui;

namespace {
constexpr std::chrono::milliseconds kRetireAfter{1000};
}

WindowAdapter::WindowAdapter(std::shared_ptr<ui::Window> window, QObject* parent)
    : QObject(parent), window_(std::move(window)), layerModel_(new LayerListModel(this)) {
    QPointer<WindowAdapter> self(this);
    window_->observe([self] {
        if (self) self->scheduleRefresh();
    });
    refresh();
}

void WindowAdapter::scheduleRefresh() {
    if (pending_) return;
    pending_ = true;
    QMetaObject::invokeMethod(this, [this] { refresh(); }, Qt::QueuedConnection);
}

void WindowAdapter::refresh() {
    pending_ = false;
    // Screens that have gone take their adapters (and their widgets' adapters) with them, a
    // little later, once QML has let go of the pages that showed them.
    for (auto it = adapters_.begin(); it != adapters_.end();) {
        if (!it.value()->controller()) {
            retire(it.value());
            it = adapters_.erase(it);
        } else {
            ++it;
        }
    }
    // A change of the structure can move any screen (into a stack, out of view).
    for (auto* adapter : std::as_const(adapters_)) adapter->refresh();
    QList<ScreenAdapter*> layers;
    for (const auto& layer : this->layers()) layers << qobject_cast<ScreenAdapter*>(layer.value<QObject*>());
    layerModel_->setLayers(layers);
    emit changed();
}

ScreenAdapter* WindowAdapter::adapterFor(const std::shared_ptr<ui::ViewController>& controller) {
    if (!controller) return nullptr;
    if (auto* known = adapters_.value(controller.get()); known && known->controller() == controller) return known;
    if (auto* stale = adapters_.value(controller.get())) retire(stale);
    auto* adapter = new ScreenAdapter(controller, this);
    adapters_.insert(controller.get(), adapter);
    return adapter;
}

ScreenAdapter* WindowAdapter::adapterFor(ui::ViewController* controller) {
    return controller ? adapterFor(controller->weak_from_this().lock()) : nullptr;
}

void WindowAdapter::retire(ScreenAdapter* adapter) {
    QTimer::singleShot(kRetireAfter, adapter, &QObject::deleteLater);
}

QObject* WindowAdapter::root() { return adapterFor(window_->rootViewController()); }

QVariantList WindowAdapter::presented() {
    QVariantList list;
    if (!window_->rootViewController()) return list;
    for (auto v = window_->rootViewController()->presentedViewController(); v; v = v->presentedViewController()) {
        list << QVariant::fromValue<QObject*>(adapterFor(v));
    }
    return list;
}

QVariantList WindowAdapter::layers() {
    std::vector<ui::ViewController*> chain;
    for (ui::ViewController* v = window_->rootViewController().get(); v; v = v->presentedViewController().get()) {
        chain.push_back(v);
    }
    // From the top presentation that hides what is below it, upwards.
    std::size_t first = 0;
    for (std::size_t i = chain.size(); i-- > 0;) {
        if (chain[i]->coversPresenter() || i == 0) {
            first = i;
            break;
        }
    }
    QVariantList list;
    for (std::size_t i = first; i < chain.size(); ++i) list << QVariant::fromValue<QObject*>(adapterFor(chain[i]));
    return list;
}

QString WindowAdapter::frontmostClass() const {
    auto* front = window_->frontmostViewController();
    return front ? QString::fromUtf8(front->className()) : QString();
}

ScreenAdapter* WindowAdapter::frontmost() { return adapterFor(window_->frontmostViewController()); }

void WindowAdapter::resize(double width, double height) {
    if (width > 0 && height > 0) window_->setSize({width, height});
}

}  // namespace kelpa::gui
