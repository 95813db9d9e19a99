#include "platform/maps/Viewport.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kelpa::platform {

namespace {
constexpr double kPi = std::numbers::pi;

double wrapped(double longitude) {
    if (longitude >= -180.0 && longitude <= 180.0) return longitude;
    double turned = std::fmod(longitude + 180.0, 360.0);
    if (turned < 0) turned += 360.0;
    return turned - 180.0;
}

LocationCoordinate2D kept(LocationCoordinate2D coordinate) {
    return {std::clamp(coordinate.latitude, -Viewport::kMaxLatitude, Viewport::kMaxLatitude),
            wrapped(coordinate.longitude)};
}

bool finite(LocationCoordinate2D c) { return std::isfinite(c.latitude) && std::isfinite(c.longitude); }
}  // namespace

Viewport::Viewport(double width, double height, LocationCoordinate2D center, double zoom)
    : width_(0), height_(0), center_(), zoom_(0) {
    setSize(width, height);
    setCenter(center);
    setZoom(zoom);
}

void Viewport::setSize(double width, double height) {
    width_ = std::isfinite(width) ? std::max(0.0, width) : 0.0;
    height_ = std::isfinite(height) ? std::max(0.0, height) : 0.0;
}

void Viewport::setCenter(LocationCoordinate2D center) {
    if (finite(center)) center_ = kept(center);
}

void Viewport::setZoom(double zoom) {
    if (std::isfinite(zoom)) zoom_ = std::clamp(zoom, kMinZoom, kMaxZoom);
}

double Viewport::worldSize() const { return kTileSize * std::exp2(zoom_); }

ui::Point Viewport::worldPosition(LocationCoordinate2D coordinate) {
    const auto c = kept(coordinate);
    const double phi = c.latitude * kPi / 180.0;
    double x = (c.longitude + 180.0) / 360.0;
    if (x >= 1.0) x -= 1.0;  // longitude 180 is longitude -180
    return {x, 0.5 - std::log(std::tan(kPi / 4 + phi / 2)) / (2 * kPi)};
}

LocationCoordinate2D Viewport::coordinateAt(ui::Point position) {
    const double x = position.x - std::floor(position.x);
    const double y = std::clamp(position.y, 0.0, 1.0);
    const double latitude = std::atan(std::sinh(kPi * (1 - 2 * y))) * 180.0 / kPi;
    return kept({latitude, x * 360.0 - 180.0});
}

ui::Point Viewport::project(LocationCoordinate2D coordinate) const {
    const auto at = worldPosition(coordinate);
    const auto middle = worldPosition(center_);
    double dx = at.x - middle.x;
    dx -= std::round(dx);  // the nearest copy of the world
    const double world = worldSize();
    return {width_ / 2 + dx * world, height_ / 2 + (at.y - middle.y) * world};
}

LocationCoordinate2D Viewport::unproject(ui::Point point) const {
    const auto middle = worldPosition(center_);
    const double world = worldSize();
    return coordinateAt({middle.x + (point.x - width_ / 2) / world, middle.y + (point.y - height_ / 2) / world});
}

void Viewport::zoomAround(ui::Point point, double factor) {
    if (!(factor > 0) || !std::isfinite(factor) || !std::isfinite(point.x) || !std::isfinite(point.y)) return;
    const auto middle = worldPosition(center_);
    const double before = worldSize();
    // Worked in world fractions without wrapping, so a point beyond the antimeridian holds too.
    const ui::Point under{middle.x + (point.x - width_ / 2) / before, middle.y + (point.y - height_ / 2) / before};
    setZoom(zoom_ + std::log2(factor));
    const double after = worldSize();
    center_ = coordinateAt({under.x - (point.x - width_ / 2) / after, under.y - (point.y - height_ / 2) / after});
}

void Viewport::panBy(double dx, double dy) {
    if (!std::isfinite(dx) || !std::isfinite(dy)) return;
    const auto middle = worldPosition(center_);
    const double world = worldSize();
    center_ = coordinateAt({middle.x - dx / world, middle.y - dy / world});
}

void Viewport::setRegion(const CoordinateRegion& region) {
    if (!finite(region.center) || !std::isfinite(region.span.latitudeDelta) ||
        !std::isfinite(region.span.longitudeDelta)) {
        return;
    }
    setCenter(region.center);
    double zoom = kMaxZoom;
    const double longitudes = std::min(std::abs(region.span.longitudeDelta), 360.0);
    if (longitudes > 0) zoom = std::min(zoom, std::log2(width_ * 360.0 / (longitudes * kTileSize)));
    const double half = std::min(std::abs(region.span.latitudeDelta), 180.0) / 2;
    const double north = worldPosition({region.center.latitude + half, 0}).y;
    const double south = worldPosition({region.center.latitude - half, 0}).y;
    if (south - north > 0) zoom = std::min(zoom, std::log2(height_ / ((south - north) * kTileSize)));
    zoom_ = std::isnan(zoom) ? kMinZoom : std::clamp(zoom, kMinZoom, kMaxZoom);
}

CoordinateRegion Viewport::region() const {
    const double world = worldSize();
    const double top = unproject({width_ / 2, 0}).latitude;
    const double bottom = unproject({width_ / 2, height_}).latitude;
    return {center_, {top - bottom, std::min(360.0, width_ / world * 360.0)}};
}

int Viewport::tileZoom() const { return static_cast<int>(std::clamp(std::round(zoom_), kMinZoom, kMaxZoom)); }

std::vector<VisibleTile> Viewport::visibleTiles() const {
    std::vector<VisibleTile> tiles;
    if (width_ <= 0 || height_ <= 0) return tiles;
    const int z = tileZoom();
    const double count = std::exp2(z);
    const double tile = kTileSize * std::exp2(zoom_ - z);  // a tile's size on screen
    const auto middle = worldPosition(center_);
    const double left = middle.x * count * tile - width_ / 2;
    const double top = middle.y * count * tile - height_ / 2;
    const auto firstColumn = static_cast<long long>(std::floor(left / tile));
    const auto lastColumn = static_cast<long long>(std::ceil((left + width_) / tile)) - 1;
    const auto firstRow = std::max(0LL, static_cast<long long>(std::floor(top / tile)));
    const auto lastRow =
        std::min(static_cast<long long>(count) - 1, static_cast<long long>(std::ceil((top + height_) / tile)) - 1);
    const auto columns = static_cast<long long>(count);
    for (auto row = firstRow; row <= lastRow; ++row) {
        for (auto column = firstColumn; column <= lastColumn; ++column) {
            const auto x = ((column % columns) + columns) % columns;
            tiles.push_back(VisibleTile{z, static_cast<int>(x), static_cast<int>(row),
                                        ui::Rect{static_cast<double>(column) * tile - left,
                                                 static_cast<double>(row) * tile - top, tile, tile}});
        }
    }
    return tiles;
}

}  // namespace kelpa::platform
