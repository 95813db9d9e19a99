#include "client/app/ScreenSupport.h"

#include "platform/Environment.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Storyboard.h"

#include <fmt/format.h>

#include <ctime>

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

void ScreenSupport::presentGroupCreated(const std::shared_ptr<platform::ui::ViewController>& screen, std::int32_t code,
                                        const std::optional<std::string>& wordOne,
                                        const std::optional<std::string>& wordTwo) {
    if (!screen) return;
    auto toRoot = [weak = std::weak_ptr<platform::ui::ViewController>(screen)] {
        auto self = weak.lock();
        if (!self) return;
        if (auto* navigation = self->navigationController()) navigation->popToRootViewControllerAnimated(true);
    };
    if (code == 0) {
        presentOK(*screen, fmt::format("{} {}", wordOne.value_or("(null)"), wordTwo.value_or("(null)")),
                  "Keep the group secret in your mind! it will never appear again!", toRoot);
    } else if (code == 1 || code == 2) {
        presentOK(*screen, "Failed", ":(", toRoot);
    }
}

std::shared_ptr<platform::ui::TextField> ScreenSupport::addField(platform::ui::View& parent, const std::string& name,
                                                                 const std::string& placeholder, bool secure) {
    auto field = std::make_shared<platform::ui::TextField>(name);
    field->setPlaceholder(placeholder);
    field->setSecureTextEntry(secure);
    parent.addSubview(field);
    return field;
}

std::string ScreenSupport::mediumDate(Date date) {
    const std::time_t t = std::chrono::system_clock::to_time_t(date);
    std::tm tm{};
    localtime_r(&t, &tm);
    static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    return fmt::format("{} {}, {}", kMonths[tm.tm_mon % 12], tm.tm_mday, tm.tm_year + 1900);
}

double ScreenSupport::systemVersion() {
    try {
        return std::stod(platform::Environment::current()->systemVersion);
    } catch (...) {
        return 0;
    }
}

}  // namespace kelpa
