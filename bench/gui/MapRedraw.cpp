// How long the live map takes to redraw after a pan, on the offscreen renderer: 50 member
// pins with their callout pictures, 10 numbered waypoints and a 400-point route, over a
// phone screen of cached tiles. Aim: well under a 60 Hz frame (16 ms).
#include "gui/adapters/MapViewAdapter.h"
#include "gui/map/MapItem.h"
#include "gui/map/TileCache.h"
#include "gui/map/TileLoader.h"
#include "platform/maps/MapView.h"
#include "platform/maps/MapViewDelegate.h"
#include "platform/maps/PinAnnotationView.h"
#include "platform/maps/PointAnnotation.h"
#include "platform/maps/Polyline.h"
#include "platform/maps/PolylineView.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <cmath>
#include <memory>

namespace {

using namespace kelpa;

// Green pins for members, red ones with a details button for waypoints, as the live map has.
class Pins : public platform::MapViewDelegate {
public:
    std::shared_ptr<platform::AnnotationView> viewForAnnotation(platform::MapView&,
                                                               const std::shared_ptr<platform::Annotation>& a) override {
        auto pin = std::make_shared<platform::PinAnnotationView>(a, std::nullopt);
        pin->setCanShowCallout(true);
        const bool waypoint = a->subtitle().value_or("").empty();
        pin->setPinColor(waypoint ? platform::PinAnnotationView::red : platform::PinAnnotationView::green);
        if (waypoint) {
            pin->setRightCalloutAccessoryView(
                std::make_shared<platform::ui::Button>("details", platform::ui::Button::Type::detailDisclosure));
        } else {
            pin->setLeftCalloutAccessoryView(std::make_shared<platform::ui::ImageView>(face));
        }
        return pin;
    }
    std::shared_ptr<platform::OverlayView> viewForOverlay(platform::MapView&,
                                                          const std::shared_ptr<platform::Overlay>& overlay) override {
        auto line = std::make_shared<platform::PolylineView>(std::dynamic_pointer_cast<platform::Polyline>(overlay));
        line->setLineWidth(10);
        line->setStrokeColor({55.0 / 255, 168.0 / 255, 219.0 / 255, 1});
        return line;
    }
    std::shared_ptr<const platform::Image> face = std::make_shared<const platform::Image>(
        platform::Image{30, 30, std::vector<std::uint8_t>(30 * 30 * 4, 160)});
};

std::string tilePNG() {
    QImage image(256, 256, QImage::Format_RGB32);
    image.fill(QColor(0xf2, 0xef, 0xe9));
    QPainter painter(&image);
    painter.setPen(QPen(Qt::white, 7));
    for (int i = 20; i < 256; i += 60) painter.drawLine(i, 0, i + 30, 256);
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

void BM_PanRedraw(benchmark::State& state) {
    QTemporaryDir cacheDir;
    const std::string urlTemplate = "http://127.0.0.1:9/{z}/{x}/{y}.png";
    // Every tile the pans will show is in the disk cache already, as after a first look.
    gui::TileCache cache(cacheDir.path().toStdString(), urlTemplate);
    const auto png = tilePNG();
    for (int z = 13; z <= 15; ++z) {
        const int n = 1 << z;
        const int cx = static_cast<int>((11.0 + 180.0) / 360.0 * n);
        const double lat = 48.0 * M_PI / 180.0;
        const int cy = static_cast<int>((1.0 - std::asinh(std::tan(lat)) / M_PI) / 2.0 * n);
        for (int x = cx - 6; x <= cx + 6; ++x) {
            for (int y = cy - 8; y <= cy + 8; ++y) cache.write(z, x, y, png);
        }
    }
    gui::TileLoader tiles(platform::TileSource(urlTemplate), cacheDir.path().toStdString());

    auto pins = std::make_shared<Pins>();
    auto map = std::make_shared<platform::MapView>("map");
    map->setDelegate(pins);
    map->setRegion(platform::CoordinateRegionMake({48.0, 11.0}, {0.04, 0.04}), false);
    for (int i = 0; i < 50; ++i) {
        const double angle = i * 0.37;
        map->addAnnotation(std::make_shared<platform::PointAnnotation>(
            platform::LocationCoordinate2D{48.0 + 0.012 * std::sin(angle) * (i % 7) / 7, 11.0 + 0.018 * std::cos(angle)},
            "Member " + std::to_string(i), "synced: 10 Dec 2026, 10:00:00"));
    }
    for (int i = 0; i < 10; ++i) {
        map->addAnnotation(std::make_shared<platform::PointAnnotation>(
            platform::LocationCoordinate2D{47.99 + 0.002 * i, 10.99 + 0.002 * i}, std::to_string(i), ""));
    }
    std::vector<platform::LocationCoordinate2D> route;
    for (int i = 0; i < 400; ++i) route.push_back({47.99 + 0.00005 * i, 10.99 + 0.0001 * std::sin(i * 0.05) + 0.00005 * i});
    map->addOverlay(platform::Polyline::polylineWithCoordinates(route), platform::OverlayLevel::aboveRoads);

    gui::MapViewAdapter adapter(map, nullptr);
    gui::MapItem item;
    item.setSize(QSizeF(390, 844));
    item.setTiles(&tiles);
    item.setAdapter(&adapter);
    QCoreApplication::processEvents();

    QImage frame(390, 844, QImage::Format_ARGB32_Premultiplied);
    int step = 0;
    for (auto _ : state) {
        // Back and forth, so the same tiles stay in view.
        const double dx = (step++ / 20) % 2 ? -6 : 6;
        item.panBy(dx, dx / 2);
        QPainter painter(&frame);
        item.paint(&painter);
        painter.end();
        benchmark::DoNotOptimize(frame.constBits());
    }
    state.counters["pins"] = static_cast<double>(map->annotations().size());
}
BENCHMARK(BM_PanRedraw)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
