#include "platform/maps/OverlayView.h"

namespace kelpa::platform {

OverlayView::OverlayView(std::shared_ptr<Overlay> overlay) : overlay_(std::move(overlay)) {}

}  // namespace kelpa::platform
