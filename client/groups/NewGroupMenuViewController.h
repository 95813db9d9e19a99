#pragma once

#include "platform/ui/Button.h"
#include "platform/ui/ViewController.h"

#include <memory>

namespace kelpa {

// The ways to a new group: an ad hoc group made at once (its two secret words shown once),
// joining one by its words, planning one step by step, and finding or being found nearby.
class NewGroupMenuViewController : public platform::ui::ViewController {
public:
    static constexpr const char* kPlannedSegue = "fromMenuToPlannedGroup";
    static constexpr const char* kQuickJoinSegue = "fromMenuToQuickJoin";
    static constexpr const char* kScanSegue = "fromMenuToScan";
    static constexpr const char* kBeFoundSegue = "fromMenuToBeFound";

    const char* className() const override { return "NewGroupMenuViewController"; }

    void loadView() override;

    void newAdhocGroup();

    std::shared_ptr<platform::ui::Button> adhocGroup;
    std::shared_ptr<platform::ui::Button> plannedGroup;
    std::shared_ptr<platform::ui::Button> quickJoin;
    std::shared_ptr<platform::ui::Button> scanGroups;
    std::shared_ptr<platform::ui::Button> beFound;
};

}  // namespace kelpa
