#include "client/groups/GroupPlaceholderViewController.h"

#include "client/model/Group.h"
#include "platform/ui/Label.h"

namespace kelpa {

void GroupPlaceholderViewController::loadView() {
    TabPlaceholderViewController::loadView();
    view()->addSubview(std::make_shared<platform::ui::Label>("groupName"));
}

void GroupPlaceholderViewController::viewWillAppear(bool animated) {
    TabPlaceholderViewController::viewWillAppear(animated);
    if (auto label = view()->find<platform::ui::Label>("groupName")) {
        label->setText(group ? group->jDescription.value_or("") : "");
    }
}

}  // namespace kelpa
