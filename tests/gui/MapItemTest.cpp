#include "QtApp.h"
#include "TestEnvironment.h"
#include "gui/adapters/MapViewAdapter.h"
#include "gui/map/MapItem.h"
#include "gui/map/TileLoader.h"
#include "platform/maps/MapView.h"
#include "platform/maps/PinAnnotationView.h"
#include "platform/maps/PointAnnotation.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QSignalSpy>

namespace kelpa::testing {
namespace {

using namespace gui;
using platform::LocationCoordinate2D;

// Records what the map tells its owner, and gives waypoints a details button.
class Owner : public platform::MapViewDelegate {
public:
    std::shared_ptr<platform::AnnotationView> viewForAnnotation(platform::MapView&,
                                                               const std::shared_ptr<platform::Annotation>& a) override {
        auto pin = std::make_shared<platform::PinAnnotationView>(a, std::nullopt);
        pin->setCanShowCallout(true);
        details = std::make_shared<platform::ui::Button>("details", platform::ui::Button::Type::detailDisclosure);
        pin->setRightCalloutAccessoryView(details);
        return pin;
    }
    void didSelectAnnotationView(platform::MapView&, platform::AnnotationView& view) override {
        selected.push_back(view.annotation()->title().value_or(""));
    }
    void didDeselectAnnotationView(platform::MapView&, platform::AnnotationView&) override { ++deselections; }
    void calloutAccessoryControlTapped(platform::MapView&, platform::AnnotationView& view, platform::ui::Control&) override {
        tapped.push_back(view.annotation()->title().value_or(""));
    }

    std::shared_ptr<platform::ui::Button> details;
    std::vector<std::string> selected;
    std::vector<std::string> tapped;
    int deselections = 0;
};

class MapItemTest : public ::testing::Test {
protected:
    void SetUp() override {
        qtApp();
        map->setDelegate(owner);
        item.setSize(QSizeF(390, 300));
        item.setAdapter(&adapter);
        map->setRegion(platform::CoordinateRegionMake({48.0, 11.0}, {0.1, 0.1}), false);
        spinOnce();
    }
    QPointF at(LocationCoordinate2D c) {
        const auto p = item.viewport().project(c);
        return {p.x, p.y};
    }

    TestEnvironment t;
    std::shared_ptr<platform::MapView> map = std::make_shared<platform::MapView>("map");
    std::shared_ptr<Owner> owner = std::make_shared<Owner>();
    MapViewAdapter adapter{map, nullptr};
    MapItem item;
};

TEST_F(MapItemTest, TheViewFollowsTheRegionTheModelSets) {
    EXPECT_NEAR(item.viewport().center().latitude, 48.0, 1e-6);
    EXPECT_NEAR(item.viewport().center().longitude, 11.0, 1e-6);
    const double zoomed = item.zoom();
    map->setRegion(platform::CoordinateRegionMake({52.5, 13.4}, {0.01, 0.01}), true);
    spinOnce();
    EXPECT_NEAR(item.viewport().center().latitude, 52.5, 1e-6);
    EXPECT_GT(item.zoom(), zoomed);
}

TEST_F(MapItemTest, PanningStaysUntilTheModelSetsAnotherRegion) {
    item.panBy(100, 0);
    const auto panned = item.viewport().center();
    EXPECT_LT(panned.longitude, 11.0);
    // Something else on the map changes: what the person looks at stays.
    map->addAnnotation(std::make_shared<platform::PointAnnotation>(LocationCoordinate2D{48.0, 11.0}, "A"));
    spinOnce();
    EXPECT_EQ(item.viewport().center(), panned);
    map->setRegion(platform::CoordinateRegionMake({48.2, 11.2}, {0.1, 0.1}), false);
    spinOnce();
    EXPECT_NEAR(item.viewport().center().longitude, 11.2, 1e-6);
}

TEST_F(MapItemTest, UntilAPersonMovesItTheRegionFitsWhateverSizeTheItemGets) {
    const double small = item.zoom();
    item.setSize(QSizeF(780, 600));  // laid out anew, larger
    EXPECT_NEAR(item.zoom(), small + 1, 1e-6);
    EXPECT_NEAR(item.viewport().center().longitude, 11.0, 1e-6);
    item.panBy(50, 0);
    const auto moved = item.viewport().center();
    const double zoom = item.zoom();
    item.setSize(QSizeF(390, 300));
    EXPECT_EQ(item.viewport().center(), moved);
    EXPECT_EQ(item.zoom(), zoom);
}

TEST_F(MapItemTest, ATapOnAPinSelectsItAndATapBesideItDeselects) {
    auto a = std::make_shared<platform::PointAnnotation>(LocationCoordinate2D{48.0, 11.0}, "A", "first");
    auto b = std::make_shared<platform::PointAnnotation>(LocationCoordinate2D{48.02, 11.03}, "B");
    map->addAnnotations({a, b});
    spinOnce();
    const QPointF pinA = at(a->coordinate());
    item.tapAt(pinA.x(), pinA.y() - 20);  // the pin's head stands above its point
    EXPECT_EQ(owner->selected, std::vector<std::string>{"A"});
    spinOnce();
    EXPECT_TRUE(item.calloutVisible());
    EXPECT_EQ(item.calloutTitle(), "A");
    EXPECT_EQ(item.calloutSubtitle(), "first");
    EXPECT_TRUE(item.calloutHasDetail());
    EXPECT_LT(item.calloutAnchor().y(), pinA.y());
    const QPointF pinB = at(b->coordinate());
    item.tapAt(pinB.x(), pinB.y() - 20);
    EXPECT_EQ(owner->selected, (std::vector<std::string>{"A", "B"}));
    item.tapAt(5, 5);
    EXPECT_TRUE(map->selectedAnnotations().empty());
    EXPECT_EQ(owner->deselections, 2);
    spinOnce();
    EXPECT_FALSE(item.calloutVisible());
}

TEST_F(MapItemTest, TheCalloutsDetailButtonReachesTheOwner) {
    auto a = std::make_shared<platform::PointAnnotation>(LocationCoordinate2D{48.0, 11.0}, "Waypoint");
    map->addAnnotation(a);
    EXPECT_FALSE(item.tapCalloutDetail());  // no callout open
    map->selectAnnotation(a, false);
    spinOnce();
    EXPECT_EQ(item.calloutDetailName(), "details");
    EXPECT_TRUE(item.tapCalloutDetail());
    EXPECT_EQ(owner->tapped, std::vector<std::string>{"Waypoint"});
}

TEST_F(MapItemTest, APictureSetLateOnTheCalloutShows) {
    auto a = std::make_shared<platform::PointAnnotation>(LocationCoordinate2D{48.0, 11.0}, "Anna");
    map->addAnnotation(a);
    map->selectAnnotation(a, false);
    auto picture = std::make_shared<platform::ui::ImageView>("face");
    map->viewForAnnotation(a)->setLeftCalloutAccessoryView(picture);
    spinOnce();
    EXPECT_FALSE(item.calloutHasImage());
    QSignalSpy callout(&item, &MapItem::calloutChanged);
    picture->setImage(std::make_shared<platform::Image>(platform::Image{1, 1, {1, 2, 3, 255}}));
    spinOnce();
    EXPECT_GE(callout.count(), 1);
    EXPECT_TRUE(item.calloutHasImage());
}

TEST_F(MapItemTest, AMovingAnnotationMovesItsCallout) {
    auto a = std::make_shared<platform::PointAnnotation>(LocationCoordinate2D{48.0, 11.0}, "Bus");
    map->addAnnotation(a);
    map->selectAnnotation(a, false);
    spinOnce();
    const QPointF before = item.calloutAnchor();
    a->setCoordinate({48.0, 11.02});
    spinOnce();
    EXPECT_GT(item.calloutAnchor().x(), before.x());
}

TEST_F(MapItemTest, ZoomingKeepsThePointUnderTheFingerInPlace) {
    const QPointF point(300, 80);
    const auto under = item.viewport().unproject({point.x(), point.y()});
    const double zoom = item.zoom();
    item.zoomBy(2, point.x(), point.y());
    EXPECT_NEAR(item.zoom(), zoom + 1, 1e-9);
    const auto after = item.viewport().unproject({point.x(), point.y()});
    EXPECT_NEAR(after.latitude, under.latitude, 1e-9);
    EXPECT_NEAR(after.longitude, under.longitude, 1e-9);
}

TEST_F(MapItemTest, TheTilesOfTheViewAreFetchedAsItMoves) {
    QImage tile(256, 256, QImage::Format_RGB32);
    tile.fill(Qt::darkGreen);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    tile.save(&buffer, "PNG");
    // Without a server the loader reads the disk only: the tiles there are the ones it finds.
    TileLoader loader(platform::TileSource(""), t.home() / "tiles");
    const auto visible = item.viewport().visibleTiles();
    ASSERT_FALSE(visible.empty());
    for (const auto& v : visible) ASSERT_TRUE(loader.cache().write(v.z, v.x, v.y, png.toStdString()));
    item.setTiles(&loader);
    for (const auto& v : visible) EXPECT_FALSE(loader.peek(v.z, v.x, v.y).isNull()) << v.z << "/" << v.x << "/" << v.y;
    // Panned a screen to the right: the next tiles are read as the view gets there.
    const auto next = visible.back();
    ASSERT_TRUE(loader.cache().write(next.z, next.x + 1, next.y, png.toStdString()));
    EXPECT_TRUE(loader.peek(next.z, next.x + 1, next.y).isNull());
    item.panBy(-390, 0);
    EXPECT_FALSE(loader.peek(next.z, next.x + 1, next.y).isNull());
}

TEST_F(MapItemTest, AMapThatGoesLeavesTheItemEmpty) {
    map->addAnnotation(std::make_shared<platform::PointAnnotation>(LocationCoordinate2D{48.0, 11.0}, "A"));
    spinOnce();
    EXPECT_EQ(item.annotationCount(), 1);
    item.setAdapter(nullptr);
    EXPECT_EQ(item.annotationCount(), 0);
    item.tapAt(10, 10);  // nothing to act on, nothing happens
    EXPECT_FALSE(item.tapCalloutDetail());
}

}  // namespace
}  // namespace kelpa::testing
