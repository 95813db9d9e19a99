#pragma once

namespace kelpa::platform {

// The use of the device's position that an app asks the person to allow.
enum class LocationAuthorization { whenInUse, always };

}  // namespace kelpa::platform
