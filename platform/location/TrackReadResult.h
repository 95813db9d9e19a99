#pragma once

#include "platform/location/TrackFix.h"

#include <optional>
#include <string>
#include <vector>

namespace kelpa::platform {

// The fixes of a track in file order, or why the track could not be read.
struct TrackReadResult {
    std::vector<TrackFix> fixes;
    std::optional<std::string> error;

    bool ok() const { return !error.has_value(); }

    static TrackReadResult failure(std::string text) { return TrackReadResult{{}, std::move(text)}; }
};

}  // namespace kelpa::platform
