#pragma once

#include "client/bluetooth/MasterTableViewController.h"
#include "client/model/Handlers.h"
#include "platform/ui/Button.h"
#include "platform/ui/RefreshControl.h"
#include "platform/ui/TableView.h"

#include <memory>
#include <string>
#include <vector>

namespace kelpa {

class RowPictures;
class User;

// The users of the service whose numbers stand in the device's address book, with their
// pictures. A row opens the conversation with that user, a pull asks the service again for
// the numbers already read, and a button opens adding a contact by identifier.
class ContactsTableViewController : public MasterTableViewController,
                                    public platform::ui::TableViewDataSource,
                                    public platform::ui::TableViewDelegate {
public:
    static constexpr const char* kAddContactSegue = "fromContactsToAddContact";
    static constexpr const char* kAddressBookQueue = "AdressBook";

    const char* className() const override { return "ContactsTableViewController"; }

    void loadView() override;
    void viewDidLoad() override;

    void initializeAdressbook();
    void setupContacts();
    void refreshTableView(platform::ui::RefreshControl& sender);

    int numberOfRowsInSection(platform::ui::TableView& tableView, int section) override;
    std::shared_ptr<platform::ui::TableViewCell> cellForRowAtIndexPath(
        platform::ui::TableView& tableView, const platform::ui::IndexPath& indexPath) override;
    void didSelectRowAtIndexPath(platform::ui::TableView& tableView, const platform::ui::IndexPath& indexPath) override;

    std::vector<std::string> allPhoneNumbers;
    RecordList<User> contacts;
    std::shared_ptr<platform::ui::TableView> contactsTableView;
    std::shared_ptr<platform::ui::Button> addContactButton;

private:
    // Replaces the rows with a delivered list; a failed load leaves them.
    static ListHandler<User> replacingRows(std::weak_ptr<ContactsTableViewController> screen);

    std::shared_ptr<RowPictures> pictures_;
};

}  // namespace kelpa
