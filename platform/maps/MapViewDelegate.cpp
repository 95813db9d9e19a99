#include "platform/maps/MapViewDelegate.h"

namespace kelpa::platform {

MapViewDelegate::~MapViewDelegate() = default;

}  // namespace kelpa::platform
