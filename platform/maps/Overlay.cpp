#include "platform/maps/Overlay.h"

namespace kelpa::platform {

Overlay::~Overlay() = default;

}  // namespace kelpa::platform
