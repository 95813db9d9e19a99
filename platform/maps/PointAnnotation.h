#pragma once

#include "platform/maps/Annotation.h"

namespace kelpa::platform {

// A plain pin: a coordinate with an optional title and subtitle, all settable.
class PointAnnotation : public Annotation {
public:
    PointAnnotation() = default;
    explicit PointAnnotation(LocationCoordinate2D coordinate, std::optional<std::string> title = std::nullopt,
                             std::optional<std::string> subtitle = std::nullopt);

    LocationCoordinate2D coordinate() const override { return coordinate_; }
    std::optional<std::string> title() const override { return title_; }
    std::optional<std::string> subtitle() const override { return subtitle_; }

    void setCoordinate(LocationCoordinate2D coordinate);
    void setTitle(std::optional<std::string> title);
    void setSubtitle(std::optional<std::string> subtitle);

private:
    LocationCoordinate2D coordinate_;
    std::optional<std::string> title_;
    std::optional<std::string> subtitle_;
};

}  // namespace kelpa::platform
