#include "gui/adapters/SegmentedControlAdapter.h"

#include "platform/ui/SegmentedControl.h"

namespace kelpa::gui {

using platform::ui::SegmentedControl;

QStringList SegmentedControlAdapter::segments() const {
    QStringList list;
    if (auto control = as<SegmentedControl>()) {
        for (const auto& segment : control->segments()) list << QString::fromStdString(segment);
    }
    return list;
}

int SegmentedControlAdapter::selectedIndex() const {
    auto control = as<SegmentedControl>();
    return control ? control->selectedSegmentIndex() : SegmentedControl::noSegment;
}

bool SegmentedControlAdapter::tapSegment(int index) {
    auto control = as<SegmentedControl>();
    if (!control || !usable() || index < 0 || index >= static_cast<int>(control->segments().size())) return false;
    control->tapSegment(index);
    return true;
}

}  // namespace kelpa::gui
