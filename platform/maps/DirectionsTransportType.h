#pragma once

namespace kelpa::platform {

// How a route is travelled; a bit set, so `any` allows every way.
enum DirectionsTransportType : unsigned { automobile = 1, walking = 2, transit = 4, any = 0x0FFFFFFF };

}  // namespace kelpa::platform
