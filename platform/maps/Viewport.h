#pragma once

#include "platform/location/LocationCoordinate2D.h"
#include "platform/maps/CoordinateRegion.h"
#include "platform/maps/VisibleTile.h"
#include "platform/ui/Geometry.h"

#include <vector>

namespace kelpa::platform {

// What a tile map shows: a view of width x height pixels onto the Web Mercator world at a
// fractional zoom (the world is 256 * 2^zoom pixels wide), around a centre. Screen points
// are pixels from the view's top-left corner. Latitudes are kept within the projection's
// limit, longitudes wrap around the antimeridian.
class Viewport {
public:
    static constexpr double kTileSize = 256;
    static constexpr double kMinZoom = 0;
    static constexpr double kMaxZoom = 19;
    // Where the square Mercator world ends: atan(sinh(pi)) in degrees.
    static constexpr double kMaxLatitude = 85.05112877980659;

    Viewport(double width = kTileSize, double height = kTileSize, LocationCoordinate2D center = {},
             double zoom = 0);

    double width() const { return width_; }
    double height() const { return height_; }
    void setSize(double width, double height);
    LocationCoordinate2D center() const { return center_; }
    void setCenter(LocationCoordinate2D center);
    double zoom() const { return zoom_; }
    void setZoom(double zoom);

    // Where a coordinate is on screen; of the world's copies side by side, the one nearest the
    // centre.
    ui::Point project(LocationCoordinate2D coordinate) const;
    LocationCoordinate2D unproject(ui::Point point) const;

    // Zooms by a factor (2 is one level in, 0.5 one out) so that the coordinate under the
    // point stays under it.
    void zoomAround(ui::Point point, double factor);
    // Moves the map as a drag does: what was under a point is then under point + (dx, dy).
    void panBy(double dx, double dy);

    // Centres on the region and zooms so that all of its span fits.
    void setRegion(const CoordinateRegion& region);
    CoordinateRegion region() const;

    // The tiles at the integer zoom nearest the current one that cover the view, row by row.
    // Columns wrap around the antimeridian (a wide view shows a column more than once); rows
    // beyond the poles are left out.
    std::vector<VisibleTile> visibleTiles() const;
    int tileZoom() const;

    // The position of a coordinate in the world at zoom 0, as fractions 0..1 of its width
    // (from longitude -180) and its height (from the north).
    static ui::Point worldPosition(LocationCoordinate2D coordinate);
    static LocationCoordinate2D coordinateAt(ui::Point worldPosition);

private:
    double worldSize() const;

    double width_;
    double height_;
    LocationCoordinate2D center_;
    double zoom_;
};

}  // namespace kelpa::platform
