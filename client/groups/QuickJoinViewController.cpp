#include "client/groups/QuickJoinViewController.h"

#include "client/app/ScreenSupport.h"
#include "client/model/Group.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"

namespace kelpa {

namespace ui = platform::ui;

void QuickJoinViewController::loadView() {
    ViewController::loadView();
    setTitle("Quick join");
    auto& root = *view();
    auto hint = std::make_shared<ui::Label>("hint");
    hint->setText("Type the group's two secret words.");
    root.addSubview(hint);
    wordOne = ScreenSupport::addField(root, "wordOne", "First word");
    wordTwo = ScreenSupport::addField(root, "wordTwo", "Second word");
    joinButton = std::make_shared<ui::Button>("join");
    joinButton->setTitle("Join");
    joinButton->addTarget(ui::Control::Event::primaryAction, [this](ui::Control&) { join(); });
    root.addSubview(joinButton);
    status = std::make_shared<ui::ActivityIndicatorView>("status");
    status->setHidden(true);
    root.addSubview(status);
}

void QuickJoinViewController::touchesBegan() { view()->endEditing(true); }

void QuickJoinViewController::join() {
    const std::string one = wordOne->text();
    const std::string two = wordTwo->text();
    if (one.empty() || two.empty()) return;
    status->setHidden(false);
    Group::quickJoinWithWordOne(one, two, [weak = weakAs<QuickJoinViewController>()](std::int32_t code, Info) {
        auto self = weak.lock();
        if (!self) return;
        self->status->setHidden(true);
        if (code == 0) {
            ScreenSupport::presentOK(*self, "success", "", [weak] {
                auto screen = weak.lock();
                if (!screen) return;
                if (auto* navigation = screen->navigationController()) navigation->popToRootViewControllerAnimated(true);
            });
        } else if (code == 1 || code == 2) {
            ScreenSupport::presentOK(*self, "failed", "");
        }
    });
}

}  // namespace kelpa
