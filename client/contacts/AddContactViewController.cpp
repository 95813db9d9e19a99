#include "client/contacts/AddContactViewController.h"

#include "client/app/ScreenSupport.h"
#include "client/model/User.h"
#include "platform/Log.h"
#include "platform/ui/AlertController.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"

namespace kelpa {

namespace ui = platform::ui;

void AddContactViewController::loadView() {
    ViewController::loadView();
    setTitle("Add contact");
    auto& root = *view();
    auto hint = std::make_shared<ui::Label>("hint");
    hint->setText("Type the identifier of the user to add.");
    root.addSubview(hint);
    contactID = ScreenSupport::addField(root, "contactID", "User identifier");
    addButton = std::make_shared<ui::Button>("addButton");
    addButton->setTitle("Add");
    addButton->addTarget(ui::Control::Event::primaryAction, [this](ui::Control&) { addContact(); });
    root.addSubview(addButton);
    availableUsersTableView = std::make_shared<ui::TableView>("availableUsersTableView");
    availableUsersTableView->setAccessibilityLabel("Users");
    root.addSubview(availableUsersTableView);
}

void AddContactViewController::viewDidLoad() {
    ViewController::viewDidLoad();
    availableUsersTableView->setDataSource(weakAs<ui::TableViewDataSource>());
    availableUsers.clear();
    setupAvailableUsers();
}

void AddContactViewController::viewWillAppear(bool animated) {
    ViewController::viewWillAppear(animated);
    setupAvailableUsers();
}

void AddContactViewController::touchesBegan() { view()->endEditing(true); }

void AddContactViewController::setupAvailableUsers() {
    auto me = User::getCurrentUser();
    if (!me) return;
    me->getAllAvailableUsers([weak = weakAs<AddContactViewController>()](std::optional<RecordList<User>> list, Info error) {
        auto self = weak.lock();
        if (!self || error) return;
        self->availableUsers = list.value_or(RecordList<User>{});
        self->availableUsersTableView->reloadData();
    });
}

void AddContactViewController::addContact() {
    const std::string typed = contactID->text();
    auto me = User::getCurrentUser();
    if (typed.empty() || !me) return;
    me->addContact(typed, [weak = weakAs<AddContactViewController>()](std::int32_t code, Info) {
        auto self = weak.lock();
        if (!self) return;
        if (code == 0) {
            if (auto* navigation = self->navigationController()) navigation->popViewControllerAnimated(true);
            return;
        }
        ScreenSupport::presentOK(*self, kFailedTitle, kFailedMessage, [] { platform::log("ok"); });
    });
}

int AddContactViewController::numberOfRowsInSection(ui::TableView&, int) {
    return static_cast<int>(availableUsers.size());
}

std::shared_ptr<ui::TableViewCell> AddContactViewController::cellForRowAtIndexPath(ui::TableView& tableView,
                                                                                    const ui::IndexPath& indexPath) {
    auto cell = tableView.dequeueReusableCellWithIdentifier("Cell");
    if (!cell) cell = ui::TableViewCell::initWithStyle(ui::TableViewCell::Style::defaultStyle, "Cell");
    const auto& user = availableUsers.at(static_cast<std::size_t>(indexPath.row));
    cell->textLabel().setText(user->userID.value_or("(null)") + " - " + user->displayName.value_or("(null)"));
    return cell;
}

}  // namespace kelpa
