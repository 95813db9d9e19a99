#include "platform/maps/RoutingService.h"

namespace kelpa::platform {

RoutingService::~RoutingService() = default;

}  // namespace kelpa::platform
