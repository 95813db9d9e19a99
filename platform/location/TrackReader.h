#pragma once

#include "platform/location/TrackReadResult.h"

#include <filesystem>
#include <optional>
#include <string_view>

namespace kelpa::platform {

// Reads a GPS track, GPX or NMEA 0183, told apart by content rather than by file name. A
// track without a single position is an error too, since there is nothing to replay.
class TrackReader {
public:
    enum class Format { GPX, NMEA };

    static TrackReadResult readFile(const std::filesystem::path& path);
    static TrackReadResult readString(std::string_view text);
    static std::optional<Format> detectFormat(std::string_view text);
};

}  // namespace kelpa::platform
