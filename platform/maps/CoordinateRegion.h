#pragma once

#include "platform/location/LocationCoordinate2D.h"
#include "platform/maps/CoordinateSpan.h"

namespace kelpa::platform {

// A part of the map: its centre and its extent.
struct CoordinateRegion {
    LocationCoordinate2D center;
    CoordinateSpan span;

    bool operator==(const CoordinateRegion&) const = default;
};

inline CoordinateRegion CoordinateRegionMake(LocationCoordinate2D center, CoordinateSpan span) {
    return CoordinateRegion{center, span};
}

}  // namespace kelpa::platform
