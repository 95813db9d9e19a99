#include "TestEnvironment.h"

#include "platform/maps/MapView.h"
#include "platform/maps/PinAnnotationView.h"
#include "platform/maps/PointAnnotation.h"
#include "platform/maps/Polyline.h"
#include "platform/maps/PolylineView.h"
#include "platform/ui/Button.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kelpa::platform {
namespace {

std::string nameOf(const Annotation& annotation) {
    if (dynamic_cast<const UserLocation*>(&annotation)) return "me";
    return annotation.title().value_or("?");
}

// Writes down everything the map asks and tells, and answers with views by a rule.
struct RecordingDelegate : MapViewDelegate {
    std::vector<std::string> events;
    // Titles that get a green pin with a disclosure button; the rest get the default view.
    std::vector<std::string> ownPins;
    bool drawsOverlays = true;

    std::shared_ptr<AnnotationView> viewForAnnotation(MapView&, const std::shared_ptr<Annotation>& a) override {
        events.push_back("view " + nameOf(*a));
        if (std::find(ownPins.begin(), ownPins.end(), nameOf(*a)) == ownPins.end()) return nullptr;
        auto pin = std::make_shared<PinAnnotationView>(a, std::nullopt);
        pin->setPinColor(PinAnnotationView::green);
        pin->setCanShowCallout(true);
        pin->setRightCalloutAccessoryView(ui::Button::buttonWithType(ui::Button::Type::detailDisclosure));
        return pin;
    }
    void didSelectAnnotationView(MapView&, AnnotationView& view) override {
        events.push_back("select " + nameOf(*view.annotation()));
    }
    void didDeselectAnnotationView(MapView&, AnnotationView& view) override {
        events.push_back("deselect " + nameOf(*view.annotation()));
    }
    void calloutAccessoryControlTapped(MapView&, AnnotationView& view, ui::Control& control) override {
        const bool right = &control == view.rightCalloutAccessoryView().get();
        events.push_back("tap " + nameOf(*view.annotation()) + (right ? " right" : " left"));
    }
    std::shared_ptr<OverlayView> viewForOverlay(MapView&, const std::shared_ptr<Overlay>& overlay) override {
        events.push_back("overlay view");
        auto line = std::dynamic_pointer_cast<Polyline>(overlay);
        if (!drawsOverlays || !line) return nullptr;
        auto view = std::make_shared<PolylineView>(line);
        view->setLineWidth(10);
        view->setStrokeColor({55 / 255.0, 168 / 255.0, 219 / 255.0, 1});
        return view;
    }
    void regionDidChangeAnimated(MapView&, bool animated) override {
        events.push_back(animated ? "region animated" : "region");
    }
    std::vector<std::string> take() { return std::exchange(events, {}); }
};

std::shared_ptr<PointAnnotation> pin(const std::string& title, double latitude = 48, double longitude = 11) {
    return std::make_shared<PointAnnotation>(LocationCoordinate2D{latitude, longitude}, title);
}

Location fixAt(double latitude, double longitude) {
    Location fix;
    fix.coordinate = {latitude, longitude};
    return fix;
}

using Names = std::vector<std::string>;

Names namesOf(const std::vector<std::shared_ptr<Annotation>>& list) {
    Names names;
    for (const auto& a : list) names.push_back(nameOf(*a));
    return names;
}

class MapViewTest : public ::testing::Test {
protected:
    MapViewTest() { map->setDelegate(delegate); }

    testing::TestEnvironment t;
    std::shared_ptr<MapView> map = std::make_shared<MapView>("map");
    std::shared_ptr<RecordingDelegate> delegate = std::make_shared<RecordingDelegate>();
};

TEST_F(MapViewTest, AsksTheDelegateForEachAddedAnnotationsViewAndKeepsIt) {
    delegate->ownPins = {"waypoint"};
    auto waypoint = pin("waypoint");
    auto member = pin("member");
    map->addAnnotations({waypoint, member});
    map->addAnnotation(waypoint);  // already there
    map->addAnnotation(nullptr);
    EXPECT_EQ(delegate->take(), (Names{"view waypoint", "view member"}));
    EXPECT_EQ(namesOf(map->annotations()), (Names{"waypoint", "member"}));
    EXPECT_STREQ(map->kind(), "MapView");

    auto own = std::dynamic_pointer_cast<PinAnnotationView>(map->viewForAnnotation(waypoint));
    ASSERT_TRUE(own);
    EXPECT_EQ(own->annotation(), waypoint);
    EXPECT_EQ(own->pinColor(), PinAnnotationView::green);
    EXPECT_TRUE(own->rightCalloutAccessoryView());
    // The view stays the one the delegate made: accessories set later are seen.
    auto picture = std::make_shared<ui::ImageView>();
    picture->setFrame({0, 0, 30, 30});
    own->setLeftCalloutAccessoryView(picture);
    EXPECT_EQ(map->viewForAnnotation(waypoint)->leftCalloutAccessoryView(), picture);

    EXPECT_EQ(map->viewForAnnotation(pin("never added")), nullptr);
}

TEST_F(MapViewTest, NoViewFromTheDelegateGivesTheDefaultRedPin) {
    auto withDelegate = pin("plain");
    map->addAnnotation(withDelegate);
    auto alone = std::make_shared<MapView>();  // no delegate at all
    auto withoutDelegate = pin("plain too");
    alone->addAnnotation(withoutDelegate);
    for (const auto& view : {map->viewForAnnotation(withDelegate), alone->viewForAnnotation(withoutDelegate)}) {
        auto pinView = std::dynamic_pointer_cast<PinAnnotationView>(view);
        ASSERT_TRUE(pinView);
        EXPECT_STREQ(pinView->kind(), "PinAnnotationView");
        EXPECT_EQ(pinView->pinColor(), PinAnnotationView::red);
        EXPECT_TRUE(pinView->canShowCallout());
        EXPECT_FALSE(pinView->leftCalloutAccessoryView());
        EXPECT_FALSE(pinView->rightCalloutAccessoryView());
        EXPECT_FALSE(pinView->reuseIdentifier());
    }
}

TEST_F(MapViewTest, SelectionIsSingleAndTheDelegateHearsEachChangeInOrder) {
    auto a = pin("a"), b = pin("b"), stranger = pin("stranger");
    map->addAnnotations({a, b});
    delegate->take();

    map->selectAnnotation(a, true);
    map->selectAnnotation(a, true);         // already selected
    map->selectAnnotation(stranger, true);  // not on this map
    map->selectAnnotation(b, false);
    EXPECT_EQ(delegate->take(), (Names{"select a", "deselect a", "select b"}));
    EXPECT_EQ(namesOf(map->selectedAnnotations()), (Names{"b"}));
    EXPECT_FALSE(map->viewForAnnotation(a)->isSelected());
    EXPECT_TRUE(map->viewForAnnotation(b)->isSelected());

    map->deselectAnnotation(a, true);  // not the selected one
    map->deselectAnnotation(b, true);
    map->deselectAnnotation(b, true);
    EXPECT_EQ(delegate->take(), (Names{"deselect b"}));
    EXPECT_TRUE(map->selectedAnnotations().empty());
    EXPECT_FALSE(map->viewForAnnotation(b)->isSelected());
}

TEST_F(MapViewTest, RemovingASelectedAnnotationDeselectsItFirst) {
    auto a = pin("a"), b = pin("b"), c = pin("c");
    map->addAnnotations({a, b, c});
    map->selectAnnotation(b, false);
    delegate->take();
    map->removeAnnotations(map->annotations());
    EXPECT_EQ(delegate->take(), (Names{"deselect b"}));
    EXPECT_TRUE(map->annotations().empty());
    EXPECT_TRUE(map->selectedAnnotations().empty());
    EXPECT_EQ(map->viewForAnnotation(b), nullptr);
    map->removeAnnotation(a);  // gone already
    // A removed annotation can come back, with a view asked for anew.
    map->addAnnotation(a);
    EXPECT_EQ(delegate->take(), (Names{"view a"}));
}

TEST_F(MapViewTest, TheCalloutOpensForASelectedViewThatCanShowOneAndHasATitle) {
    delegate->ownPins = {"own"};
    auto own = pin("own"), plain = pin("plain"), untitled = std::make_shared<PointAnnotation>();
    map->addAnnotations({own, plain, untitled});
    auto view = map->viewForAnnotation(own);
    EXPECT_FALSE(view->isShowingCallout());
    map->selectAnnotation(own, false);
    EXPECT_TRUE(view->isShowingCallout());
    view->setCanShowCallout(false);
    EXPECT_FALSE(view->isShowingCallout());
    map->selectAnnotation(untitled, false);
    EXPECT_FALSE(map->viewForAnnotation(untitled)->isShowingCallout());
    map->selectAnnotation(plain, false);
    EXPECT_TRUE(map->viewForAnnotation(plain)->isShowingCallout());
}

TEST_F(MapViewTest, ATappedCalloutAccessoryRunsItsActionsAndTellsTheDelegate) {
    delegate->ownPins = {"waypoint", "other"};
    auto waypoint = pin("waypoint"), other = pin("other");
    map->addAnnotations({waypoint, other});
    auto view = map->viewForAnnotation(waypoint);
    auto button = std::dynamic_pointer_cast<ui::Button>(view->rightCalloutAccessoryView());
    ASSERT_TRUE(button);
    int actions = 0;
    button->addTarget(ui::Control::Event::primaryAction, [&](ui::Control&) { ++actions; });
    auto otherButton = std::dynamic_pointer_cast<ui::Button>(map->viewForAnnotation(other)->rightCalloutAccessoryView());
    auto loose = ui::Button::buttonWithType(ui::Button::Type::system);
    PinAnnotationView notOnTheMap(waypoint, std::nullopt);
    notOnTheMap.setRightCalloutAccessoryView(button);
    notOnTheMap.setCanShowCallout(true);
    notOnTheMap.setSelected(true);
    delegate->take();

    map->tapCalloutAccessory(*view, *button);  // the callout is closed
    map->selectAnnotation(waypoint, false);
    delegate->take();
    map->tapCalloutAccessory(*view, *loose);          // not an accessory
    map->tapCalloutAccessory(*view, *otherButton);    // another pin's accessory
    map->tapCalloutAccessory(notOnTheMap, *button);   // a view the map did not make
    EXPECT_TRUE(delegate->take().empty());
    EXPECT_EQ(actions, 0);

    map->tapCalloutAccessory(*view, *button);
    EXPECT_EQ(delegate->take(), (Names{"tap waypoint right"}));
    EXPECT_EQ(actions, 1);

    button->setEnabled(false);
    map->tapCalloutAccessory(*view, *button);
    EXPECT_TRUE(delegate->take().empty());
}

TEST_F(MapViewTest, OverlaysKeepTheirLevelAndTheViewTheDelegateGave) {
    auto route = Polyline::polylineWithCoordinates({{48.1, 11.5}, {48.2, 11.6}});
    auto above = Polyline::polylineWithCoordinates({{1, 2}, {3, 4}, {5, 6}});
    auto second = Polyline::polylineWithCoordinates({});
    map->addOverlay(above);  // above labels unless told otherwise
    map->addOverlay(route, OverlayLevel::aboveRoads);
    map->addOverlay(second, OverlayLevel::aboveRoads);
    map->addOverlay(route, OverlayLevel::aboveLabels);  // already there
    EXPECT_EQ(delegate->take(), (Names{"overlay view", "overlay view", "overlay view"}));

    using Overlays = std::vector<std::shared_ptr<Overlay>>;
    // Drawing order: the lower level first.
    EXPECT_EQ(map->overlays(), (Overlays{route, second, above}));
    EXPECT_EQ(map->overlaysInLevel(OverlayLevel::aboveRoads), (Overlays{route, second}));
    EXPECT_EQ(map->overlaysInLevel(OverlayLevel::aboveLabels), (Overlays{above}));
    EXPECT_EQ(route->coordinates(), (std::vector<LocationCoordinate2D>{{48.1, 11.5}, {48.2, 11.6}}));

    auto view = std::dynamic_pointer_cast<PolylineView>(map->viewForOverlay(route));
    ASSERT_TRUE(view);
    EXPECT_STREQ(view->kind(), "PolylineView");
    EXPECT_EQ(view->polyline(), route);
    EXPECT_EQ(view->lineWidth(), 10);
    EXPECT_EQ(view->strokeColor(), (ui::Color{55 / 255.0, 168 / 255.0, 219 / 255.0, 1}));
    EXPECT_EQ(view->alpha(), 1.0);

    map->removeOverlays(map->overlays());
    EXPECT_TRUE(map->overlays().empty());
    EXPECT_EQ(map->viewForOverlay(route), nullptr);

    delegate->drawsOverlays = false;
    map->addOverlay(route, OverlayLevel::aboveRoads);
    EXPECT_EQ(map->overlays(), (Overlays{route}));
    EXPECT_EQ(map->viewForOverlay(route), nullptr);  // on the map, but undrawn
}

TEST_F(MapViewTest, TheDevicesMarkerShowsWhenAskedForAndAFixIsKnown) {
    auto waypoint = pin("waypoint");
    map->addAnnotation(waypoint);
    delegate->take();

    map->setUserLocationFix(fixAt(48.1, 11.5));  // not shown yet
    EXPECT_EQ(map->userLocation(), nullptr);
    map->setShowsUserLocation(true);
    auto me = map->userLocation();
    ASSERT_TRUE(me);
    EXPECT_EQ(me->coordinate(), (LocationCoordinate2D{48.1, 11.5}));
    EXPECT_EQ(namesOf(map->annotations()), (Names{"waypoint", "me"}));
    // The delegate is asked about it too; with no answer it gets a marker of its own.
    EXPECT_EQ(delegate->take(), (Names{"view me"}));
    auto marker = map->viewForAnnotation(me);
    ASSERT_TRUE(marker);
    EXPECT_EQ(std::dynamic_pointer_cast<PinAnnotationView>(marker), nullptr);
    EXPECT_STREQ(marker->kind(), "AnnotationView");

    // Later fixes move it; the map does not add it again.
    map->setUserLocationFix(fixAt(48.2, 11.6));
    EXPECT_EQ(map->userLocation(), me);
    EXPECT_EQ(me->coordinate(), (LocationCoordinate2D{48.2, 11.6}));
    EXPECT_EQ(map->viewForAnnotation(me), marker);
    EXPECT_TRUE(delegate->take().empty());

    // Only showsUserLocation takes it off.
    map->removeAnnotations(map->annotations());
    EXPECT_EQ(namesOf(map->annotations()), (Names{"me"}));
    map->selectAnnotation(me, false);
    map->setShowsUserLocation(false);
    EXPECT_EQ(delegate->take(), (Names{"select me", "deselect me"}));
    EXPECT_EQ(map->userLocation(), nullptr);
    EXPECT_TRUE(map->annotations().empty());
}

TEST_F(MapViewTest, ShowingTheDevicesMarkerWaitsForTheFirstFix) {
    map->setShowsUserLocation(true);
    EXPECT_EQ(map->userLocation(), nullptr);
    EXPECT_TRUE(map->annotations().empty());
    map->setUserLocationFix(fixAt(1, 2));
    ASSERT_TRUE(map->userLocation());
    EXPECT_EQ(delegate->take(), (Names{"view me"}));
}

TEST_F(MapViewTest, SetRegionKeepsTheRegionAndTellsTheDelegate) {
    const auto germany = CoordinateRegionMake({51.299711, 10.107422}, {8.5, 8.5});
    map->setRegion(germany, true);
    EXPECT_EQ(map->region(), germany);
    EXPECT_TRUE(map->lastRegionAnimated());
    map->setRegion(CoordinateRegionMake({48.1, 11.5}, {0.01, 0.01}), false);
    EXPECT_FALSE(map->lastRegionAnimated());
    EXPECT_EQ(delegate->take(), (Names{"region animated", "region"}));

    // Out of range is brought in; not a number is refused.
    map->setRegion(CoordinateRegionMake({95, 190}, {-1, 400}), false);
    EXPECT_EQ(map->region(), CoordinateRegionMake({90, -170}, {0, 360}));
    const auto kept = map->region();
    map->setRegion(CoordinateRegionMake({std::numeric_limits<double>::quiet_NaN(), 0}, {1, 1}), true);
    EXPECT_EQ(map->region(), kept);
    EXPECT_EQ(delegate->take(), (Names{"region"}));
    EXPECT_TRUE(t.logged("map: ignoring the region nan,0 span 1,1"));
}

TEST_F(MapViewTest, ObserversHearOfChangesToTheMap) {
    int changes = 0;
    map->observe([&] { ++changes; });
    auto a = pin("a");
    map->addAnnotation(a);
    EXPECT_EQ(changes, 1);
    map->selectAnnotation(a, false);
    map->addOverlay(Polyline::polylineWithCoordinates({}));
    map->setRegion(CoordinateRegionMake({1, 1}, {1, 1}), false);
    EXPECT_EQ(changes, 4);

    int moves = 0;
    a->observe([&] { ++moves; });
    a->setCoordinate({2, 2});
    a->setCoordinate({2, 2});
    a->setTitle("renamed");
    EXPECT_EQ(moves, 2);
}

TEST_F(MapViewTest, AReleasedDelegateLeavesTheDefaults) {
    delegate->ownPins = {"a"};
    delegate.reset();
    auto a = pin("a");
    map->addAnnotation(a);
    map->selectAnnotation(a, false);
    EXPECT_TRUE(std::dynamic_pointer_cast<PinAnnotationView>(map->viewForAnnotation(a)));
    EXPECT_EQ(std::dynamic_pointer_cast<PinAnnotationView>(map->viewForAnnotation(a))->pinColor(), PinAnnotationView::red);
}

}  // namespace
}  // namespace kelpa::platform
