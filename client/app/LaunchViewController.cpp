#include "client/app/LaunchViewController.h"

#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Label.h"

namespace kelpa {

void LaunchViewController::loadView() {
    ViewController::loadView();
    auto heading = std::make_shared<platform::ui::Label>("heading");
    heading->setText("Kelpa");
    view()->addSubview(heading);
    view()->addSubview(std::make_shared<platform::ui::ActivityIndicatorView>("loading"));
}

}  // namespace kelpa
