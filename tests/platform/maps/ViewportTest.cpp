#include "platform/maps/Viewport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <tuple>

namespace kelpa::platform {
namespace {

constexpr LocationCoordinate2D kMunich{48.137, 11.575};

void expectNear(LocationCoordinate2D actual, LocationCoordinate2D expected, double tolerance, const std::string& what) {
    EXPECT_NEAR(actual.latitude, expected.latitude, tolerance) << what;
    EXPECT_NEAR(actual.longitude, expected.longitude, tolerance) << what;
}

void expectNear(ui::Point actual, ui::Point expected, double tolerance, const std::string& what) {
    EXPECT_NEAR(actual.x, expected.x, tolerance) << what;
    EXPECT_NEAR(actual.y, expected.y, tolerance) << what;
}

// The tile under a screen point, by its address.
std::optional<VisibleTile> tileAt(const Viewport& view, ui::Point point) {
    for (const auto& tile : view.visibleTiles()) {
        if (point.x >= tile.rect.x && point.x < tile.rect.x + tile.rect.width && point.y >= tile.rect.y &&
            point.y < tile.rect.y + tile.rect.height) {
            return tile;
        }
    }
    return std::nullopt;
}

using Addresses = std::set<std::tuple<int, int, int>>;

Addresses addressesOf(const std::vector<VisibleTile>& tiles) {
    Addresses set;
    for (const auto& t : tiles) set.emplace(t.z, t.x, t.y);
    return set;
}

TEST(Viewport, KnownPlacesLandOnTheirKnownTiles) {
    Viewport world(256, 256, {0, 0}, 0);
    expectNear(world.project({0, 0}), {128, 128}, 1e-9, "(0,0) is the middle of the world");
    expectNear(world.project({0, -90}), {64, 128}, 1e-9, "a quarter of the way from the antimeridian");
    expectNear(world.project({0, 90}), {192, 128}, 1e-9, "three quarters");
    expectNear(world.project({Viewport::kMaxLatitude, 0}), {128, 0}, 1e-9, "the limit at the top");
    expectNear(world.project({-Viewport::kMaxLatitude, 0}), {128, 256}, 1e-9, "and at the bottom");
    EXPECT_EQ(world.visibleTiles(), (std::vector<VisibleTile>{{0, 0, 0, {0, 0, 256, 256}}}));

    Viewport munich(256, 256, kMunich, 12);
    auto tile = tileAt(munich, {128, 128});
    ASSERT_TRUE(tile);
    EXPECT_EQ(std::tie(tile->z, tile->x, tile->y), std::make_tuple(12, 2179, 1421));
    // Within its tile Munich lies at about (0.698, 0.496) of the way across and down.
    EXPECT_NEAR((128 - tile->rect.x) / 256, 0.6978, 1e-3);
    EXPECT_NEAR((128 - tile->rect.y) / 256, 0.4960, 1e-3);
}

TEST(Viewport, ProjectionRoundTrips) {
    for (double zoom : {0.0, 3.5, 12.0, 19.0}) {
        Viewport view(800, 600, kMunich, zoom);
        for (auto c : std::vector<LocationCoordinate2D>{kMunich, {0, 0}, {-33.8568, 151.2153}, {85, -179.9}, {-60, 179.9}}) {
            const auto what = "zoom " + std::to_string(zoom) + " at " + std::to_string(c.latitude) + "," +
                              std::to_string(c.longitude);
            expectNear(view.unproject(view.project(c)), c, 1e-9, what);
        }
        for (auto p : std::vector<ui::Point>{{0, 0}, {400, 300}, {799, 1}, {13.25, 577.5}}) {
            const auto c = view.unproject(p);
            // Points off the world at low zooms come back clamped; the rest come back.
            if (std::abs(c.latitude) < Viewport::kMaxLatitude - 1e-9) {
                expectNear(view.project(c), p, 1e-6, "point at zoom " + std::to_string(zoom));
            }
        }
    }
}

TEST(Viewport, LatitudesStayWithinTheProjectionsLimit) {
    Viewport view(256, 256, {90, 0}, 2);
    EXPECT_NEAR(view.center().latitude, 85.0511, 1e-4);
    view.setCenter({-91, 0});
    EXPECT_NEAR(view.center().latitude, -85.0511, 1e-4);
    expectNear(view.project({89.9, 0}), view.project({Viewport::kMaxLatitude, 0}), 1e-9, "beyond the limit");
    EXPECT_NEAR(view.unproject({128, -1e6}).latitude, Viewport::kMaxLatitude, 1e-9);
    view.panBy(0, -1e6);  // the map dragged far up: the centre goes south, down to the limit
    EXPECT_NEAR(view.center().latitude, -Viewport::kMaxLatitude, 1e-9);
}

TEST(Viewport, ZoomingAroundAPointKeepsItsCoordinateUnderIt) {
    struct Case {
        ui::Point point;
        double factor;
        double zoom;
    };
    for (const auto& c : {
             Case{{400, 300}, 2, 13},
             Case{{10, 20}, 2, 13},
             Case{{790, 590}, 0.5, 11},
             Case{{123, 456}, 3, 12 + std::log2(3.0)},
             Case{{0, 0}, 1e9, 19},    // clamped at the deepest zoom
             Case{{800, 0}, 1e-9, 0},  // and at the whole world
         }) {
        Viewport view(800, 600, kMunich, 12);
        const auto before = view.unproject(c.point);
        view.zoomAround(c.point, c.factor);
        EXPECT_NEAR(view.zoom(), c.zoom, 1e-9);
        const auto what = "factor " + std::to_string(c.factor) + " at " + std::to_string(c.point.x);
        if (c.zoom > 2) {
            expectNear(view.unproject(c.point), before, 1e-9, what);
        } else {
            // At the whole world the point may lie beyond a pole; its longitude still holds.
            EXPECT_NEAR(view.unproject(c.point).longitude, before.longitude, 1e-9) << what;
        }
    }
    Viewport view(800, 600, kMunich, 12);
    for (double bad : {0.0, -2.0, std::nan("")}) view.zoomAround({1, 1}, bad);
    EXPECT_EQ(view.zoom(), 12);
    expectNear(view.center(), kMunich, 1e-12, "refused factors change nothing");
}

TEST(Viewport, PanningMovesTheMapWithTheDragAndWrapsAroundTheAntimeridian) {
    Viewport view(800, 600, kMunich, 12);
    const auto under = view.unproject({100, 100});
    view.panBy(250, -40);
    expectNear(view.unproject({350, 60}), under, 1e-9, "what was under the finger follows it");

    Viewport pacific(512, 256, {0, 179}, 2);  // a world 1024 px wide
    pacific.panBy(-512, 0);                   // drag left by half the world: the map moves east
    EXPECT_NEAR(pacific.center().longitude, -1, 1e-9);
    pacific.panBy(-1024 * 3, 0);  // three whole turns
    EXPECT_NEAR(pacific.center().longitude, -1, 1e-9);
    // A pin just across the antimeridian is drawn on the near side, not a world away.
    Viewport dateline(512, 256, {0, 179.9}, 2);
    EXPECT_GT(dateline.project({0, -179.9}).x, 256);
    EXPECT_NEAR(dateline.project({0, -179.9}).x - 256, 0.2 / 360 * 1024, 1e-9);
}

TEST(Viewport, SetRegionFitsTheWholeSpan) {
    struct Case {
        CoordinateRegion region;
        double width, height;
    };
    for (const auto& c : {
             Case{{{51.299711, 10.107422}, {8.5, 8.5}}, 800, 600},
             Case{{kMunich, {0.01, 0.01}}, 400, 800},
             Case{{{0, 0}, {1, 20}}, 1000, 1000},
             Case{{{-33.86, 151.21}, {0.5, 0.1}}, 300, 300},
         }) {
        Viewport view(c.width, c.height);
        view.setRegion(c.region);
        const auto shown = view.region();
        expectNear(shown.center, c.region.center, 1e-12, "centred");
        // All of the span shows, and one side of it fills the view (latitudes within the
        // stretch of the projection: the centre is not half-way between north and south).
        const double latRatio = shown.span.latitudeDelta / c.region.span.latitudeDelta;
        const double lonRatio = shown.span.longitudeDelta / c.region.span.longitudeDelta;
        EXPECT_GE(latRatio, 1 - 1e-3);
        EXPECT_GE(lonRatio, 1 - 1e-9);
        EXPECT_NEAR(std::min(latRatio, lonRatio), 1, 1e-2);
        EXPECT_LT(std::floor(view.zoom()), 19);
    }
    Viewport view(800, 600);
    view.setRegion({kMunich, {0, 0}});
    EXPECT_EQ(view.zoom(), Viewport::kMaxZoom);  // a point: as close as the map goes
    Viewport small(100, 100);
    small.setRegion({{0, 0}, {180, 360}});
    EXPECT_EQ(small.zoom(), Viewport::kMinZoom);  // smaller than the world: as far as the map goes
    Viewport exact(256, 256);
    exact.setRegion({{0, 0}, {180, 360}});
    EXPECT_NEAR(exact.zoom(), 0, 1e-12);
}

TEST(Viewport, VisibleTilesCoverTheViewAtTheNearestWholeZoom) {
    struct Case {
        const char* name;
        Viewport view;
        Addresses tiles;
    };
    for (const auto& c : {
             // Across the antimeridian: the last column on the left, the first on the right.
             Case{"antimeridian", Viewport(512, 256, {0, 180}, 1), {{1, 1, 0}, {1, 0, 0}, {1, 1, 1}, {1, 0, 1}}},
             // At the top of the world no row above row 0 is asked for.
             Case{"north edge", Viewport(256, 256, {Viewport::kMaxLatitude, 0}, 2), {{2, 1, 0}, {2, 2, 0}}},
             // 2.4 uses zoom 2 tiles drawn larger, 2.6 zoom 3 tiles drawn smaller.
             Case{"rounding down", Viewport(100, 100, {0, 0}, 2.4), {{2, 1, 1}, {2, 2, 1}, {2, 1, 2}, {2, 2, 2}}},
             Case{"rounding up", Viewport(100, 100, {0, 0}, 2.6), {{3, 3, 3}, {3, 4, 3}, {3, 3, 4}, {3, 4, 4}}},
             Case{"deepest zoom", Viewport(10, 10, kMunich, 19), {{19, 279001, 181951}}},
         }) {
        EXPECT_EQ(addressesOf(c.view.visibleTiles()), c.tiles) << c.name;
    }

    // Tiles meet without gaps and together cover every pixel of the view.
    Viewport view(640, 480, kMunich, 12.3);
    const auto tiles = view.visibleTiles();
    const double size = 256 * std::exp2(0.3);
    for (const auto& tile : tiles) {
        EXPECT_EQ(tile.z, 12);
        EXPECT_NEAR(tile.rect.width, size, 1e-9);
        EXPECT_LT(tile.rect.x, 640);
        EXPECT_LT(tile.rect.y, 480);
        EXPECT_GT(tile.rect.x + size, 0);
        EXPECT_GT(tile.rect.y + size, 0);
    }
    for (auto p : std::vector<ui::Point>{{0, 0}, {639.9, 479.9}, {320, 240}, {0, 479.9}, {639.9, 0}}) {
        auto tile = tileAt(view, p);
        ASSERT_TRUE(tile);
        // The tile drawn there is the one that holds the coordinate seen there.
        const auto c = view.unproject(p);
        const double n = std::exp2(12);
        EXPECT_EQ(tile->x, static_cast<int>((c.longitude + 180) / 360 * n));
    }

    // A view wider than the world at zoom 0 shows the one tile side by side.
    Viewport wide(1000, 256, {0, 0}, 0);
    const auto copies = wide.visibleTiles();
    EXPECT_EQ(copies.size(), 5u);
    for (const auto& tile : copies) EXPECT_EQ(std::tie(tile.z, tile.x, tile.y), std::make_tuple(0, 0, 0));
    EXPECT_TRUE(Viewport(0, 100).visibleTiles().empty());
}

}  // namespace
}  // namespace kelpa::platform
