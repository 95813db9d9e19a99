#pragma once

#include "platform/bluetooth/AdvertisementValue.h"

#include <map>
#include <string>

namespace kelpa::platform {

// Advertisement dictionaries, under the keys scanners read literally.
inline constexpr const char* CBAdvertisementDataLocalNameKey = "kCBAdvDataLocalName";
inline constexpr const char* CBAdvertisementDataServiceUUIDsKey = "kCBAdvDataServiceUUIDs";

using AdvertisementData = std::map<std::string, AdvertisementValue>;

}  // namespace kelpa::platform
