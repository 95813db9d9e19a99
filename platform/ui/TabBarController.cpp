#include "platform/ui/TabBarController.h"

namespace kelpa::platform::ui {

void TabBarController::setViewControllers(std::vector<std::shared_ptr<ViewController>> controllers) {
    for (auto& tab : tabs_) tab->setParent(nullptr);
    tabs_ = std::move(controllers);
    for (auto& tab : tabs_) tab->setParent(this);
    selected_ = 0;
    notifyChanged();
}

ViewController* TabBarController::selectedViewController() const {
    if (selected_ < 0 || selected_ >= static_cast<int>(tabs_.size())) return nullptr;
    return tabs_[selected_].get();
}

std::vector<ViewController*> TabBarController::visibleChildren() const {
    if (auto* selected = selectedViewController()) return {selected};
    return {};
}

void TabBarController::setSelectedIndex(int index) {
    if (index < 0 || index >= static_cast<int>(tabs_.size()) || index == selected_) return;
    auto keep = shared_from_this();
    ViewController* leaving = selectedViewController();
    ViewController* arriving = tabs_[index].get();
    selected_ = index;
    if (isAppeared()) {
        leaving->beginAppearance(false, false);
        arriving->beginAppearance(true, false);
        leaving->endAppearance(false, false);
        arriving->endAppearance(true, false);
    }
    notifyChanged();
}

}  // namespace kelpa::platform::ui
