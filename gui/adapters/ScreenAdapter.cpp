#include "gui/adapters/ScreenAdapter.h"

#include "gui/adapters/ImageConversion.h"
#include "gui/adapters/WidgetAdapterFactory.h"
#include "gui/adapters/WindowAdapter.h"
#include "platform/Async.h"
#include "platform/Log.h"
#include "platform/maps/MapView.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/ImagePickerController.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QPointer>
#include <QVariantMap>

#ifdef KELPA_HAVE_GUI_BACKENDS
#include "gui/backends/QtImageSource.h"
#endif

namespace kelpa::gui {

namespace ui = platform::ui;

namespace {
QString gPageDirectory = QStringLiteral(":/qml/screens");

QString kindOf(ui::ViewController* controller) {
    if (dynamic_cast<ui::AlertController*>(controller)) return QStringLiteral("alert");
    if (dynamic_cast<ui::ImagePickerController*>(controller)) return QStringLiteral("imagePicker");
    if (dynamic_cast<ui::NavigationController*>(controller)) return QStringLiteral("navigation");
    if (dynamic_cast<ui::TabBarController*>(controller)) return QStringLiteral("tabs");
    return QStringLiteral("plain");
}

std::optional<platform::Image> loadPicture(const QString& path) {
#ifdef KELPA_HAVE_GUI_BACKENDS
    return ui::QtImageSource::loadImageFile(path.toStdString());
#else
    QImageReader reader(path);
    reader.setAutoTransform(true);
    auto image = ImageConversion::fromQImage(reader.read());
    if (!image) platform::log("cannot read the picture " + path.toStdString() + ": " + reader.errorString().toStdString());
    return image;
#endif
}
}  // namespace

void ScreenAdapter::setPageDirectory(const QString& directory) { gPageDirectory = directory; }

ScreenAdapter::ScreenAdapter(const std::shared_ptr<ui::ViewController>& controller, WindowAdapter* window)
    : QObject(window),
      window_(window),
      controller_(controller),
      className_(QString::fromUtf8(controller->className())),
      kind_(kindOf(controller.get())),
      coversPresenter_(controller->coversPresenter()) {
    QPointer<ScreenAdapter> self(this);
    // Screens keep their observers for life; a gone adapter leaves a no-op behind.
    controller->observe([self] {
        if (self) self->scheduleChanged();
    });
}

void ScreenAdapter::scheduleChanged() {
    if (pending_) return;
    pending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] { refresh(); },
        Qt::QueuedConnection);
}

void ScreenAdapter::refresh() {
    pending_ = false;
    if (children_) {
        auto fresh = currentChildren();
        if (fresh != *children_) {
            children_ = std::move(fresh);
            emit childrenChanged();
        }
    }
    if (widgets_) {
        auto fresh = currentWidgets();
        if (fresh != *widgets_) {
            widgets_ = std::move(fresh);
            emit widgetsChanged();
        }
    }
    emit changed();
}

QString ScreenAdapter::title() const {
    auto c = controller();
    return c ? QString::fromStdString(c->title()) : QString();
}

bool ScreenAdapter::hasOwnPage() const { return QFile::exists(gPageDirectory + "/" + className_ + ".qml"); }

QUrl ScreenAdapter::pageUrl() const {
    const QString file = gPageDirectory + "/" + className_ + ".qml";
    const QString chosen =
        QFile::exists(file) ? file : QDir::cleanPath(gPageDirectory + "/../components/GenericScreen.qml");
    // Resource paths (":/...") are qrc: URLs; others are files.
    if (chosen.startsWith(':')) return QUrl(QStringLiteral("qrc") + chosen);
    return QUrl::fromLocalFile(chosen);
}

bool ScreenAdapter::inNavigation() const {
    auto c = controller();
    return c && dynamic_cast<ui::NavigationController*>(c->parentViewController());
}

QVariantList ScreenAdapter::children() const {
    if (!children_) children_ = currentChildren();
    return *children_;
}

QVariantList ScreenAdapter::currentChildren() const {
    QVariantList list;
    auto c = controller();
    if (auto* navigation = dynamic_cast<ui::NavigationController*>(c.get())) {
        for (const auto& child : navigation->viewControllers()) list << QVariant::fromValue<QObject*>(window_->adapterFor(child));
    } else if (auto* tabs = dynamic_cast<ui::TabBarController*>(c.get())) {
        for (const auto& child : tabs->viewControllers()) list << QVariant::fromValue<QObject*>(window_->adapterFor(child));
    }
    return list;
}

QObject* ScreenAdapter::current() const {
    auto c = controller();
    if (auto* navigation = dynamic_cast<ui::NavigationController*>(c.get())) {
        if (navigation->viewControllers().empty()) return nullptr;
        return window_->adapterFor(navigation->viewControllers().back());
    }
    if (auto* tabs = dynamic_cast<ui::TabBarController*>(c.get())) {
        const int index = tabs->selectedIndex();
        if (index < 0 || index >= static_cast<int>(tabs->viewControllers().size())) return nullptr;
        return window_->adapterFor(tabs->viewControllers()[static_cast<std::size_t>(index)]);
    }
    return nullptr;
}

int ScreenAdapter::selectedIndex() const {
    auto* tabs = dynamic_cast<ui::TabBarController*>(controller().get());
    return tabs ? tabs->selectedIndex() : -1;
}

bool ScreenAdapter::isBarHidden() const {
    auto* navigation = dynamic_cast<ui::NavigationController*>(controller().get());
    return !navigation || navigation->isNavigationBarHidden();
}

bool ScreenAdapter::canGoBack() const {
    auto* navigation = dynamic_cast<ui::NavigationController*>(controller().get());
    return navigation && navigation->viewControllers().size() > 1;
}

QString ScreenAdapter::message() const {
    auto* alert = dynamic_cast<ui::AlertController*>(controller().get());
    return alert ? QString::fromStdString(alert->message()) : QString();
}

QVariantList ScreenAdapter::actions() const {
    QVariantList list;
    auto* alert = dynamic_cast<ui::AlertController*>(controller().get());
    if (!alert) return list;
    for (const auto& action : alert->actions()) {
        QString style = QStringLiteral("default");
        if (action->style() == ui::AlertAction::Style::cancel) style = QStringLiteral("cancel");
        if (action->style() == ui::AlertAction::Style::destructive) style = QStringLiteral("destructive");
        list << QVariantMap{{"title", QString::fromStdString(action->title())}, {"style", style}};
    }
    return list;
}

QString ScreenAdapter::sourceType() const {
    auto* picker = dynamic_cast<ui::ImagePickerController*>(controller().get());
    if (!picker) return {};
    switch (picker->sourceType()) {
        case ui::ImagePickerSourceType::camera: return QStringLiteral("camera");
        case ui::ImagePickerSourceType::savedPhotosAlbum: return QStringLiteral("savedPhotosAlbum");
        case ui::ImagePickerSourceType::photoLibrary: break;
    }
    return QStringLiteral("photoLibrary");
}

namespace {
// Named views in tree order; the inside of tables, cells and maps belongs to them.
void collectNamed(const std::shared_ptr<ui::View>& view, std::vector<std::shared_ptr<ui::View>>& out) {
    for (const auto& child : view->subviews()) {
        const bool container = std::string_view(child->kind()) == "View";
        if (!child->name().empty() && !container) out.push_back(child);
        const bool opaque = dynamic_cast<ui::TableView*>(child.get()) || dynamic_cast<ui::TableViewCell*>(child.get()) ||
                            dynamic_cast<platform::MapView*>(child.get());
        if (!opaque) collectNamed(child, out);
    }
}
}  // namespace

QVariantList ScreenAdapter::widgets() const {
    if (!widgets_) widgets_ = currentWidgets();
    return *widgets_;
}

QVariantList ScreenAdapter::currentWidgets() const {
    QVariantList list;
    auto c = controller();
    if (!c || kind_ != QLatin1String("plain")) return list;
    std::vector<std::shared_ptr<ui::View>> named;
    collectNamed(c->view(), named);
    auto* self = const_cast<ScreenAdapter*>(this);
    for (const auto& view : named) list << QVariant::fromValue<QObject*>(self->adapterFor(view));
    return list;
}

WidgetAdapter* ScreenAdapter::adapterFor(const std::shared_ptr<ui::View>& view) {
    if (auto* known = byView_.value(view.get()); known && known->view() == view) return known;
    auto* adapter = WidgetAdapterFactory::make(view, this);
    byView_.insert(view.get(), adapter);
    return adapter;
}

WidgetAdapter* ScreenAdapter::widgetAdapter(const QString& name) {
    auto c = controller();
    std::shared_ptr<ui::View> view = c ? c->view()->viewNamed(name.toStdString()) : nullptr;
    if (auto* known = byName_.value(name); known && known->exists() == static_cast<bool>(view) && known->view() == view) {
        return known;
    }
    WidgetAdapter* adapter = nullptr;
    if (view) {
        adapter = adapterFor(view);
    } else {
        platform::log("screen " + className_.toStdString() + " has no widget \"" + name.toStdString() + "\"");
        adapter = new WidgetAdapter(name, this);
    }
    byName_.insert(name, adapter);
    return adapter;
}

QObject* ScreenAdapter::widget(const QString& name) { return widgetAdapter(name); }

bool ScreenAdapter::goBack() {
    auto c = controller();
    auto* navigation = dynamic_cast<ui::NavigationController*>(c.get());
    if (!navigation || navigation->viewControllers().size() < 2) return false;
    navigation->goBack();
    return true;
}

bool ScreenAdapter::select(int tab) {
    auto c = controller();
    auto* tabs = dynamic_cast<ui::TabBarController*>(c.get());
    if (!tabs || tab < 0 || tab >= static_cast<int>(tabs->viewControllers().size())) return false;
    tabs->setSelectedIndex(tab);
    return true;
}

bool ScreenAdapter::choose(const QString& actionTitle) {
    auto c = controller();
    auto* alert = dynamic_cast<ui::AlertController*>(c.get());
    return alert && alert->choose(actionTitle.toStdString());
}

bool ScreenAdapter::finishPicking(const QString& pathOrUrl) {
    auto c = controller();
    auto* picker = dynamic_cast<ui::ImagePickerController*>(c.get());
    if (!picker) return false;
    const QUrl url(pathOrUrl);
    const QString path = url.isLocalFile() ? url.toLocalFile() : pathOrUrl;
    // Pictures can be large: read in the background, handed to the picker on the main queue.
    std::weak_ptr<ui::ViewController> weak = c;
    platform::runInBackground(
        "loadPicture", [path] { return loadPicture(path); },
        [weak](std::optional<platform::Image> image) {
            auto still = std::dynamic_pointer_cast<ui::ImagePickerController>(weak.lock());
            if (!still) return;
            // A file that is no picture ends the choice without one.
            still->finishPicking(image ? std::make_shared<const platform::Image>(std::move(*image)) : nullptr);
        });
    return true;
}

bool ScreenAdapter::cancel() {
    auto c = controller();
    auto* picker = dynamic_cast<ui::ImagePickerController*>(c.get());
    if (!picker) return false;
    picker->cancel();
    return true;
}

void ScreenAdapter::tapOutside() {
    if (auto c = controller()) c->touchesBegan();
}

}  // namespace kelpa::gui
