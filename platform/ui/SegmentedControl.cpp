#include "platform/ui/SegmentedControl.h"

namespace kelpa::platform::ui {

SegmentedControl::SegmentedControl(std::string name, std::vector<std::string> segments)
    : Control(std::move(name)), segments_(std::move(segments)) {}

void SegmentedControl::setSelectedSegmentIndex(int index) {
    if (index < noSegment || index >= static_cast<int>(segments_.size())) return;
    if (selected_ == index) return;
    selected_ = index;
    changed();
}

void SegmentedControl::tapSegment(int index) {
    if (!isEnabled() || isHidden() || index < 0 || index >= static_cast<int>(segments_.size())) return;
    if (selected_ == index) return;
    setSelectedSegmentIndex(index);
    sendActionsForControlEvents(Event::valueChanged);
}

}  // namespace kelpa::platform::ui
