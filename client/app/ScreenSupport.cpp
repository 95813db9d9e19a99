#include "client/app/ScreenSupport.h"

#include "platform/ui/AlertController.h"
#include "platform/ui/Storyboard.h"

namespace kelpa {

using platform::ui::AlertAction;
using platform::ui::AlertController;

std::shared_ptr<platform::ui::ViewController> ScreenSupport::mainScreen(const std::string& identifier) {
    auto storyboard = platform::ui::Storyboard::storyboardWithName("Main");
    return storyboard ? storyboard->instantiateViewControllerWithIdentifier(identifier) : nullptr;
}

void ScreenSupport::presentOK(platform::ui::ViewController& from, const std::string& title, const std::string& message,
                              std::function<void()> onOK) {
    auto alert = AlertController::alertControllerWithTitle(title, message, AlertController::Style::alert);
    alert->addAction(AlertAction::actionWithTitle("OK", AlertAction::Style::defaultStyle, [onOK](AlertAction&) {
        if (onOK) onOK();
    }));
    from.presentViewController(alert, true);
}

}  // namespace kelpa
