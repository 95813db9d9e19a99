#pragma once

#include "platform/maps/MapView.h"
#include "platform/maps/Viewport.h"

#include <QImage>
#include <QPointF>
#include <QPointer>
#include <QQuickPaintedItem>

#include <memory>
#include <optional>
#include <vector>

namespace kelpa::gui {

class TileLoader;

// Draws a platform::MapView: tiles under the viewport, route lines, pins and the device's
// own position, and tells QML where the callout of the selected annotation goes (QML draws it,
// so its button is a real, accessible control). The viewport follows the model's region;
// dragging, the wheel and pinching move only what is shown. A tap on a pin selects its
// annotation, a tap beside the pins deselects it, as on the phone.
class MapItem : public QQuickPaintedItem {
    Q_OBJECT
    Q_PROPERTY(QObject* adapter READ adapter WRITE setAdapter NOTIFY adapterChanged)
    Q_PROPERTY(QObject* tiles READ tiles WRITE setTiles NOTIFY tilesChanged)
    Q_PROPERTY(double zoom READ zoom NOTIFY viewChanged)
    Q_PROPERTY(bool calloutVisible READ calloutVisible NOTIFY calloutChanged)
    Q_PROPERTY(QString calloutTitle READ calloutTitle NOTIFY calloutChanged)
    Q_PROPERTY(QString calloutSubtitle READ calloutSubtitle NOTIFY calloutChanged)
    Q_PROPERTY(QImage calloutImage READ calloutImage NOTIFY calloutChanged)
    Q_PROPERTY(bool calloutHasImage READ calloutHasImage NOTIFY calloutChanged)
    Q_PROPERTY(bool calloutHasDetail READ calloutHasDetail NOTIFY calloutChanged)
    Q_PROPERTY(QString calloutDetailName READ calloutDetailName NOTIFY calloutChanged)
    // Where the callout points: the top of the selected marker, in item coordinates.
    Q_PROPERTY(QPointF calloutAnchor READ calloutAnchor NOTIFY calloutChanged)
    Q_PROPERTY(int annotationCount READ annotationCount NOTIFY viewChanged)

public:
    explicit MapItem(QQuickItem* parent = nullptr);
    ~MapItem() override;

    QObject* adapter() const { return adapter_; }
    void setAdapter(QObject* adapter);
    QObject* tiles() const;
    void setTiles(QObject* tiles);

    double zoom() const { return viewport_.zoom(); }
    bool calloutVisible() const;
    QString calloutTitle() const;
    QString calloutSubtitle() const;
    QImage calloutImage() const;
    bool calloutHasImage() const { return !calloutImage().isNull(); }
    bool calloutHasDetail() const;
    QString calloutDetailName() const;
    QPointF calloutAnchor() const;
    int annotationCount() const;

    const platform::Viewport& viewport() const { return viewport_; }

    // Zooms by a factor about a point (pinch, buttons, keys) and moves the map (keys).
    Q_INVOKABLE void zoomBy(double factor, double x, double y);
    Q_INVOKABLE void panBy(double dx, double dy);
    // Shows a place at a zoom level, as a person panning and pinching there would.
    Q_INVOKABLE void showPlace(double latitude, double longitude, double zoom);
    // A tap at a point of the item: selects the annotation there, or deselects.
    Q_INVOKABLE void tapAt(double x, double y);
    // The detail button of the open callout.
    Q_INVOKABLE bool tapCalloutDetail();

    void paint(QPainter* painter) override;

signals:
    void adapterChanged();
    void tilesChanged();
    void viewChanged();
    void calloutChanged();

protected:
    void geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    std::shared_ptr<platform::MapView> map() const { return map_.lock(); }
    void attach(const std::shared_ptr<platform::MapView>& map);
    void detach();
    void scheduleSync();
    void sync();
    void watchContents();
    void unwatchContents();
    void applyRegion(bool force);
    std::shared_ptr<platform::AnnotationView> selectedView() const;
    // The annotation whose marker is under the point, topmost first.
    std::shared_ptr<platform::Annotation> annotationAt(QPointF point) const;
    void viewMoved();
    void requestTiles();

    void paintTiles(QPainter& painter);
    void paintOverlays(QPainter& painter, const platform::MapView& map);
    void paintAnnotations(QPainter& painter, const platform::MapView& map);

    QPointer<QObject> adapter_;
    QPointer<TileLoader> tiles_;
    std::weak_ptr<platform::MapView> map_;
    platform::ui::View::ObserverId mapObserver_ = 0;
    std::vector<std::pair<std::weak_ptr<platform::ui::View>, platform::ui::View::ObserverId>> watchedViews_;
    std::vector<std::pair<std::weak_ptr<platform::Annotation>, platform::Annotation::ObserverId>> watchedAnnotations_;
    platform::Viewport viewport_;
    std::optional<platform::CoordinateRegion> appliedRegion_;
    bool movedByPerson_ = false;
    bool syncPending_ = false;
    std::optional<QPointF> pressedAt_;
    QPointF lastDrag_;
    bool dragging_ = false;
};

}  // namespace kelpa::gui
