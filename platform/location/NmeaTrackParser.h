#pragma once

#include "platform/location/TrackReadResult.h"

#include <string_view>

namespace kelpa::platform {

// NMEA 0183 logs: RMC and GGA sentences of any talker give fixes; every other sentence is
// skipped, and so are sentences that report no fix (RMC status V, GGA quality 0). A checksum,
// when present, must match. RMC carries the date (a two-digit year is 20xx); GGA carries
// only the time of day and takes the date of the last RMC. An RMC and a GGA of the same
// instant describe one fix, so they become one.
class NmeaTrackParser {
public:
    static TrackReadResult parse(std::string_view text);
};

}  // namespace kelpa::platform
