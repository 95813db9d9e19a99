#include "client/app/TabPlaceholderViewController.h"

#include "platform/ui/Label.h"

namespace kelpa {

void TabPlaceholderViewController::loadView() {
    MasterViewController::loadView();
    auto heading = std::make_shared<platform::ui::Label>("heading");
    heading->setText(title());
    view()->addSubview(heading);
}

}  // namespace kelpa
