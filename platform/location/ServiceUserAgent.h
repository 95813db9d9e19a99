#pragma once

namespace kelpa::platform {

// How the app introduces itself to the public map services (tiles, geocoding, routing),
// whose usage policies ask for an identifying User-Agent.
inline constexpr const char* kServiceUserAgent = "Kelpa/0.1 (+https://kelpa.invalid)";

}  // namespace kelpa::platform
