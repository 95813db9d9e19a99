#pragma once

#include "client/model/Handlers.h"
#include "platform/ui/Button.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/ViewController.h"

#include <memory>

namespace kelpa {

class User;

// Adds a contact by the identifier the person types; the users the service offers are listed
// as "identifier - name" to read it off.
class AddContactViewController : public platform::ui::ViewController, public platform::ui::TableViewDataSource {
public:
    static constexpr const char* kFailedTitle = "!!!";
    static constexpr const char* kFailedMessage = ":(";

    const char* className() const override { return "AddContactViewController"; }

    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void touchesBegan() override;

    void setupAvailableUsers();
    void addContact();

    int numberOfRowsInSection(platform::ui::TableView& tableView, int section) override;
    std::shared_ptr<platform::ui::TableViewCell> cellForRowAtIndexPath(
        platform::ui::TableView& tableView, const platform::ui::IndexPath& indexPath) override;

    RecordList<User> availableUsers;
    std::shared_ptr<platform::ui::TableView> availableUsersTableView;
    std::shared_ptr<platform::ui::TextField> contactID;
    std::shared_ptr<platform::ui::Button> addButton;
};

}  // namespace kelpa
