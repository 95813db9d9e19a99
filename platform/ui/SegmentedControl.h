#pragma once

#include "platform/ui/Control.h"

#include <string>
#include <vector>

namespace kelpa::platform::ui {

class SegmentedControl : public Control {
public:
    static constexpr int noSegment = -1;

    explicit SegmentedControl(std::string name = {}, std::vector<std::string> segments = {});
    const char* kind() const override { return "SegmentedControl"; }

    const std::vector<std::string>& segments() const { return segments_; }
    int selectedSegmentIndex() const { return selected_; }
    // Set by code: no value-changed actions, as on the phone.
    void setSelectedSegmentIndex(int index);
    // A person's tap on a segment: selects it and sends value-changed.
    void tapSegment(int index);

private:
    std::vector<std::string> segments_;
    int selected_ = noSegment;
};

}  // namespace kelpa::platform::ui
