#include "platform/ui/AlertController.h"

namespace kelpa::platform::ui {

bool AlertController::choose(const std::string& actionTitle) {
    for (auto& action : actions_) {
        if (action->title() != actionTitle) continue;
        auto keep = shared_from_this();
        auto chosen = action;
        dismissViewControllerAnimated(true);
        chosen->run();
        return true;
    }
    return false;
}

}  // namespace kelpa::platform::ui
