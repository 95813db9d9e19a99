#pragma once

#include "platform/maps/Overlay.h"
#include "platform/ui/View.h"

#include <memory>

namespace kelpa::platform {

// How an overlay is drawn; a renderer reads its state.
class OverlayView : public ui::View {
public:
    explicit OverlayView(std::shared_ptr<Overlay> overlay);
    const char* kind() const override { return "OverlayView"; }

    const std::shared_ptr<Overlay>& overlay() const { return overlay_; }

private:
    std::shared_ptr<Overlay> overlay_;
};

}  // namespace kelpa::platform
