#include "platform/maps/PointAnnotation.h"

namespace kelpa::platform {

PointAnnotation::PointAnnotation(LocationCoordinate2D coordinate, std::optional<std::string> title,
                                 std::optional<std::string> subtitle)
    : coordinate_(coordinate), title_(std::move(title)), subtitle_(std::move(subtitle)) {}

void PointAnnotation::setCoordinate(LocationCoordinate2D coordinate) {
    if (coordinate_ == coordinate) return;
    coordinate_ = coordinate;
    changed();
}

void PointAnnotation::setTitle(std::optional<std::string> title) {
    if (title_ == title) return;
    title_ = std::move(title);
    changed();
}

void PointAnnotation::setSubtitle(std::optional<std::string> subtitle) {
    if (subtitle_ == subtitle) return;
    subtitle_ = std::move(subtitle);
    changed();
}

}  // namespace kelpa::platform
