#include "gui/map/MapItem.h"

#include "gui/adapters/ImageConversion.h"
#include "gui/adapters/MapViewAdapter.h"
#include "gui/map/TileLoader.h"
#include "platform/maps/PinAnnotationView.h"
#include "platform/maps/PolylineView.h"
#include "platform/maps/UserLocation.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QMouseEvent>
#include <QWheelEvent>

#include <cmath>

namespace kelpa::gui {

namespace ui = platform::ui;
using platform::Annotation;
using platform::AnnotationView;
using platform::MapView;

namespace {
// Pins stand on their coordinate: a round head above a point.
constexpr double kPinHead = 9;
constexpr double kPinHeight = 30;
constexpr double kDotRadius = 8;
constexpr double kDragThreshold = 6;
const QColor kLand(0xec, 0xe8, 0xdf);
const QColor kGrid(0xdc, 0xd7, 0xcc);

QColor pinColour(const AnnotationView& view) {
    const auto* pin = dynamic_cast<const platform::PinAnnotationView*>(&view);
    switch (pin ? pin->pinColor() : platform::PinAnnotationView::red) {
        case platform::PinAnnotationView::green: return QColor(0x2e, 0x9d, 0x3f);
        case platform::PinAnnotationView::purple: return QColor(0x8e, 0x3c, 0xb8);
        default: return QColor(0xd9, 0x30, 0x25);
    }
}

bool isUserLocation(const Annotation& annotation) { return dynamic_cast<const platform::UserLocation*>(&annotation); }

QPointF toQt(ui::Point p) { return {p.x, p.y}; }
}  // namespace

MapItem::MapItem(QQuickItem* parent) : QQuickPaintedItem(parent) {
    setAcceptedMouseButtons(Qt::LeftButton);
    setAntialiasing(true);
    setFlag(ItemIsFocusScope, false);
}

MapItem::~MapItem() { detach(); }

void MapItem::setAdapter(QObject* adapter) {
    if (adapter == adapter_) return;
    detach();
    adapter_ = adapter;
    if (auto* mapAdapter = qobject_cast<MapViewAdapter*>(adapter)) attach(mapAdapter->mapView());
    emit adapterChanged();
    sync();
}

QObject* MapItem::tiles() const { return tiles_; }

void MapItem::setTiles(QObject* tiles) {
    auto* loader = qobject_cast<TileLoader*>(tiles);
    if (loader == tiles_) return;
    if (tiles_) disconnect(tiles_, nullptr, this, nullptr);
    tiles_ = loader;
    if (tiles_) {
        connect(tiles_, &TileLoader::tileLoaded, this, [this] { update(); });
        connect(tiles_, &TileLoader::retryDue, this, [this] { requestTiles(); });
    }
    emit tilesChanged();
    requestTiles();
    update();
}

void MapItem::attach(const std::shared_ptr<MapView>& map) {
    map_ = map;
    if (!map) return;
    QPointer<MapItem> self(this);
    mapObserver_ = map->observe([self] {
        if (self) self->scheduleSync();
    });
    appliedRegion_.reset();
}

void MapItem::detach() {
    unwatchContents();
    if (auto map = map_.lock()) map->unobserve(mapObserver_);
    map_.reset();
    mapObserver_ = 0;
}

void MapItem::scheduleSync() {
    if (syncPending_) return;
    syncPending_ = true;
    QMetaObject::invokeMethod(this, [this] { sync(); }, Qt::QueuedConnection);
}

void MapItem::sync() {
    syncPending_ = false;
    watchContents();
    applyRegion(false);
    update();
    emit viewChanged();
    emit calloutChanged();
}

void MapItem::unwatchContents() {
    for (auto& [weak, id] : watchedViews_) {
        if (auto view = weak.lock()) view->unobserve(id);
    }
    for (auto& [weak, id] : watchedAnnotations_) {
        if (auto annotation = weak.lock()) annotation->unobserve(id);
    }
    watchedViews_.clear();
    watchedAnnotations_.clear();
}

// Markers move and get their pictures and accessories after the map took them.
void MapItem::watchContents() {
    unwatchContents();
    auto map = this->map();
    if (!map) return;
    QPointer<MapItem> self(this);
    auto schedule = [self] {
        if (self) self->scheduleSync();
    };
    auto watchView = [&](const std::shared_ptr<ui::View>& view) {
        if (view) watchedViews_.emplace_back(view, view->observe(schedule));
    };
    for (const auto& annotation : map->annotations()) {
        watchedAnnotations_.emplace_back(annotation, annotation->observe(schedule));
        if (auto view = map->viewForAnnotation(annotation)) {
            watchView(view);
            watchView(view->leftCalloutAccessoryView());
            watchView(view->rightCalloutAccessoryView());
        }
    }
    for (const auto& overlay : map->overlays()) watchView(map->viewForOverlay(overlay));
}

void MapItem::applyRegion(bool force) {
    auto map = this->map();
    if (!map || width() <= 0 || height() <= 0) return;
    const auto region = map->region();
    if (!force && appliedRegion_ && *appliedRegion_ == region) return;
    viewport_.setRegion(region);
    appliedRegion_ = region;
    movedByPerson_ = false;
    viewMoved();
}

void MapItem::geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) {
    QQuickPaintedItem::geometryChange(newGeometry, oldGeometry);
    viewport_.setSize(newGeometry.width(), newGeometry.height());
    // Until a person moves the map, the model's region fits whatever size the item gets.
    if (!movedByPerson_) applyRegion(true);
    else viewMoved();
}

void MapItem::viewMoved() {
    requestTiles();
    update();
    emit viewChanged();
    emit calloutChanged();
}

void MapItem::zoomBy(double factor, double x, double y) {
    movedByPerson_ = true;
    viewport_.zoomAround({x, y}, factor);
    viewMoved();
}

void MapItem::panBy(double dx, double dy) {
    movedByPerson_ = true;
    viewport_.panBy(dx, dy);
    viewMoved();
}

void MapItem::showPlace(double latitude, double longitude, double zoom) {
    movedByPerson_ = true;
    viewport_.setCenter({latitude, longitude});
    viewport_.setZoom(zoom);
    viewMoved();
}

std::shared_ptr<Annotation> MapItem::annotationAt(QPointF point) const {
    auto map = this->map();
    if (!map) return nullptr;
    auto annotations = map->annotations();
    for (auto it = annotations.rbegin(); it != annotations.rend(); ++it) {
        auto view = map->viewForAnnotation(*it);
        if (!view || view->isHidden()) continue;
        const QPointF at = toQt(viewport_.project((*it)->coordinate()));
        QRectF hit;
        if (isUserLocation(**it)) {
            hit = QRectF(at.x() - 14, at.y() - 14, 28, 28);
        } else if (auto image = ImageConversion::toQImage(view->image()); !image.isNull()) {
            hit = QRectF(at.x() - image.width() / 2.0, at.y() - image.height() / 2.0, image.width(), image.height());
        } else {
            hit = QRectF(at.x() - kPinHead - 4, at.y() - kPinHeight - 4, 2 * kPinHead + 8, kPinHeight + 6);
        }
        if (hit.contains(point)) return *it;
    }
    return nullptr;
}

void MapItem::tapAt(double x, double y) {
    auto map = this->map();
    if (!map) return;
    if (auto hit = annotationAt({x, y})) {
        map->selectAnnotation(hit, true);
        return;
    }
    for (const auto& selected : map->selectedAnnotations()) map->deselectAnnotation(selected, true);
}

std::shared_ptr<AnnotationView> MapItem::selectedView() const {
    auto map = this->map();
    if (!map) return nullptr;
    auto selected = map->selectedAnnotations();
    if (selected.empty()) return nullptr;
    auto view = map->viewForAnnotation(selected.front());
    return view && view->isShowingCallout() && !view->isHidden() ? view : nullptr;
}

bool MapItem::calloutVisible() const { return selectedView() != nullptr; }

QString MapItem::calloutTitle() const {
    auto view = selectedView();
    return view ? QString::fromStdString(view->annotation()->title().value_or("")) : QString();
}

QString MapItem::calloutSubtitle() const {
    auto view = selectedView();
    return view ? QString::fromStdString(view->annotation()->subtitle().value_or("")) : QString();
}

QImage MapItem::calloutImage() const {
    auto view = selectedView();
    auto* image = view ? dynamic_cast<ui::ImageView*>(view->leftCalloutAccessoryView().get()) : nullptr;
    if (!image || image->isHidden()) return {};
    return ImageConversion::toQImage(image->image());
}

bool MapItem::calloutHasDetail() const {
    auto view = selectedView();
    auto* control = view ? dynamic_cast<ui::Control*>(view->rightCalloutAccessoryView().get()) : nullptr;
    return control && !control->isHidden();
}

QString MapItem::calloutDetailName() const {
    auto view = selectedView();
    if (!view || !view->rightCalloutAccessoryView()) return {};
    const auto name = view->rightCalloutAccessoryView()->accessibleName();
    return QString::fromStdString(name.empty() ? "Details" : name);
}

QPointF MapItem::calloutAnchor() const {
    auto view = selectedView();
    if (!view) return {};
    const QPointF at = toQt(viewport_.project(view->annotation()->coordinate()));
    if (isUserLocation(*view->annotation())) return {at.x(), at.y() - kDotRadius - 4};
    if (auto image = ImageConversion::toQImage(view->image()); !image.isNull()) return {at.x(), at.y() - image.height() / 2.0};
    return {at.x(), at.y() - kPinHeight};
}

int MapItem::annotationCount() const {
    auto map = this->map();
    return map ? static_cast<int>(map->annotations().size()) : 0;
}

bool MapItem::tapCalloutDetail() {
    auto map = this->map();
    auto view = selectedView();
    auto* control = view ? dynamic_cast<ui::Control*>(view->rightCalloutAccessoryView().get()) : nullptr;
    if (!map || !control) return false;
    map->tapCalloutAccessory(*view, *control);
    return true;
}

// Asked for on the main thread: paint() may run on the render thread, where the loader (and
// its network access) must not be used, only read while the main thread waits.
void MapItem::requestTiles() {
    if (!tiles_ || width() <= 0 || height() <= 0) return;
    for (const auto& tile : viewport_.visibleTiles()) tiles_->tile(tile.z, tile.x, tile.y);
}

void MapItem::paint(QPainter* painter) {
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    paintTiles(*painter);
    if (auto map = this->map()) {
        paintOverlays(*painter, *map);
        paintAnnotations(*painter, *map);
    }
}

void MapItem::paintTiles(QPainter& painter) {
    painter.fillRect(QRectF(0, 0, width(), height()), kLand);
    for (const auto& tile : viewport_.visibleTiles()) {
        const QRectF target(tile.rect.x, tile.rect.y, tile.rect.width, tile.rect.height);
        QImage image = tiles_ ? tiles_->peek(tile.z, tile.x, tile.y) : QImage();
        if (!image.isNull()) {
            painter.drawImage(target, image);
            continue;
        }
        // A coarser tile already at hand stands in, enlarged, while this one loads.
        bool covered = false;
        for (int up = 1; tiles_ && up <= 4 && tile.z - up >= 0 && !covered; ++up) {
            QImage parent = tiles_->peek(tile.z - up, tile.x >> up, tile.y >> up);
            if (parent.isNull()) continue;
            const double part = parent.width() / std::exp2(up);
            const QRectF source((tile.x & ((1 << up) - 1)) * part, (tile.y & ((1 << up) - 1)) * part, part, part);
            painter.drawImage(target, parent, source);
            covered = true;
        }
        if (!covered) {
            // Without tiles a faint grid still shows the map moving.
            painter.setPen(QPen(kGrid, 1));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(target);
        }
    }
}

void MapItem::paintOverlays(QPainter& painter, const MapView& map) {
    for (const auto& overlay : map.overlays()) {
        auto view = std::dynamic_pointer_cast<platform::PolylineView>(map.viewForOverlay(overlay));
        if (!view || view->isHidden()) continue;
        auto polyline = view->polyline();
        if (!polyline || polyline->pointCount() < 2) continue;
        QPainterPath path;
        bool first = true;
        for (const auto& coordinate : polyline->coordinates()) {
            const QPointF at = toQt(viewport_.project(coordinate));
            if (first) path.moveTo(at);
            else path.lineTo(at);
            first = false;
        }
        const auto& c = view->strokeColor();
        QColor colour = QColor::fromRgbF(static_cast<float>(c.red), static_cast<float>(c.green),
                                         static_cast<float>(c.blue), static_cast<float>(c.alpha * view->alpha()));
        QPen pen(colour, std::max(1.0, view->lineWidth()), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
    }
}

void MapItem::paintAnnotations(QPainter& painter, const MapView& map) {
    const auto selected = map.selectedAnnotations();
    // The device's own position goes under the pins.
    std::vector<std::shared_ptr<Annotation>> order = map.annotations();
    std::stable_partition(order.begin(), order.end(), [](const auto& a) { return isUserLocation(*a); });
    for (const auto& annotation : order) {
        auto view = map.viewForAnnotation(annotation);
        if (!view || view->isHidden()) continue;
        const QPointF at = toQt(viewport_.project(annotation->coordinate()));
        if (at.x() < -60 || at.y() < -60 || at.x() > width() + 60 || at.y() > height() + 60) continue;
        const bool isSelected = !selected.empty() && selected.front() == annotation;
        painter.setOpacity(view->alpha());
        if (isUserLocation(*annotation)) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(0x1e, 0x88, 0xe5, 50));
            painter.drawEllipse(at, 22.0, 22.0);
            painter.setBrush(Qt::white);
            painter.drawEllipse(at, kDotRadius + 3, kDotRadius + 3);
            painter.setBrush(QColor(0x1e, 0x88, 0xe5));
            painter.drawEllipse(at, kDotRadius, kDotRadius);
        } else if (auto image = ImageConversion::toQImage(view->image()); !image.isNull()) {
            painter.drawImage(QPointF(at.x() - image.width() / 2.0, at.y() - image.height() / 2.0), image);
        } else {
            const double scale = isSelected ? 1.2 : 1.0;
            const double head = kPinHead * scale;
            const QPointF centre(at.x(), at.y() - kPinHeight * scale + head);
            // A soft shadow where the pin stands.
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(0, 0, 0, 60));
            painter.drawEllipse(at, 5.0, 2.0);
            QPainterPath pin;
            pin.moveTo(at);
            pin.cubicTo(QPointF(at.x() - head * 0.4, at.y() - head * 1.2), QPointF(centre.x() - head, centre.y() + head * 0.9),
                        QPointF(centre.x() - head, centre.y()));
            pin.arcTo(QRectF(centre.x() - head, centre.y() - head, 2 * head, 2 * head), 180, -180);
            pin.cubicTo(QPointF(centre.x() + head, centre.y() + head * 0.9), QPointF(at.x() + head * 0.4, at.y() - head * 1.2), at);
            const QColor colour = pinColour(*view);
            painter.setPen(QPen(colour.darker(140), 1.2));
            painter.setBrush(colour);
            painter.drawPath(pin);
            // A short title (a waypoint's number) is written in the head; others get a dot.
            const auto title = QString::fromStdString(annotation->title().value_or(""));
            if (!title.isEmpty() && title.size() <= 2) {
                QFont font = painter.font();
                font.setPixelSize(static_cast<int>(head * 1.05));
                font.setBold(true);
                painter.setFont(font);
                painter.setPen(Qt::white);
                painter.drawText(QRectF(centre.x() - head, centre.y() - head, 2 * head, 2 * head), Qt::AlignCenter,
                                 title);
            } else {
                painter.setPen(Qt::NoPen);
                painter.setBrush(QColor(255, 255, 255, 220));
                painter.drawEllipse(centre, head * 0.38, head * 0.38);
            }
        }
        painter.setOpacity(1.0);
    }
}

void MapItem::mousePressEvent(QMouseEvent* event) {
    pressedAt_ = event->position();
    lastDrag_ = event->position();
    dragging_ = false;
    forceActiveFocus(Qt::MouseFocusReason);
    event->accept();
}

void MapItem::mouseMoveEvent(QMouseEvent* event) {
    if (!pressedAt_) return;
    const QPointF at = event->position();
    if (!dragging_ && (at - *pressedAt_).manhattanLength() > kDragThreshold) {
        dragging_ = true;
        setKeepMouseGrab(true);
    }
    if (dragging_) {
        panBy(at.x() - lastDrag_.x(), at.y() - lastDrag_.y());
        lastDrag_ = at;
    }
    event->accept();
}

void MapItem::mouseReleaseEvent(QMouseEvent* event) {
    if (pressedAt_ && !dragging_) tapAt(event->position().x(), event->position().y());
    pressedAt_.reset();
    dragging_ = false;
    setKeepMouseGrab(false);
    event->accept();
}

void MapItem::mouseDoubleClickEvent(QMouseEvent* event) {
    zoomBy(2, event->position().x(), event->position().y());
    event->accept();
}

void MapItem::wheelEvent(QWheelEvent* event) {
    // Half a level per notch of a wheel; touchpads report pixels.
    const double steps = event->angleDelta().y() != 0 ? event->angleDelta().y() / 240.0 : event->pixelDelta().y() / 100.0;
    if (steps != 0) zoomBy(std::exp2(steps), event->position().x(), event->position().y());
    event->accept();
}

}  // namespace kelpa::gui
