#include "client/contacts/ContactsTableViewController.h"

#include "client/contacts/ChatViewController.h"
#include "client/groups/RowPictures.h"
#include "client/model/Functions.h"
#include "client/model/Message.h"
#include "client/model/User.h"
#include "platform/Async.h"
#include "platform/contacts/AddressBook.h"
#include "platform/Log.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Storyboard.h"

namespace kelpa {

namespace ui = platform::ui;

void ContactsTableViewController::loadView() {
    MasterTableViewController::loadView();
    setTitle("Contacts");
    addContactButton = std::make_shared<ui::Button>("addContactButton");
    addContactButton->setTitle("Add contact");
    connectSegue(addContactButton, kAddContactSegue);
    view()->addSubview(addContactButton);
    contactsTableView = std::make_shared<ui::TableView>("contactsTableView");
    contactsTableView->setAccessibilityLabel("Contacts");
    auto refresh = std::make_shared<ui::RefreshControl>("refreshContacts");
    refresh->addTarget(ui::Control::Event::valueChanged, [this](ui::Control& sender) {
        refreshTableView(static_cast<ui::RefreshControl&>(sender));
    });
    contactsTableView->setRefreshControl(refresh);
    view()->addSubview(contactsTableView);
    pictures_ = RowPictures::make();
}

void ContactsTableViewController::viewDidLoad() {
    MasterTableViewController::viewDidLoad();
    contactsTableView->setDataSource(weakAs<ui::TableViewDataSource>());
    contactsTableView->setDelegate(weakAs<ui::TableViewDelegate>());
    allPhoneNumbers.clear();
    initializeAdressbook();
}

void ContactsTableViewController::initializeAdressbook() {
    auto book = platform::AddressBook::create();
    // Read here, on the main queue: the walk runs in the background and must not touch the record.
    std::optional<std::string> ownNumber;
    if (auto me = User::getCurrentUser()) ownNumber = me->phoneNumber;
    auto weak = weakAs<ContactsTableViewController>();
    book->requestAccessWithCompletion([book, ownNumber, weak](bool, std::optional<std::string>) {
        // Whatever the answer: a refused book yields nobody, and the request goes out empty.
        platform::runInBackground(
            kAddressBookQueue,
            [book, ownNumber] {
                std::vector<std::string> numbers;
                for (const auto& person : book->copyArrayOfAllPeople()) {
                    for (const auto& value : person.phoneNumbers) {
                        auto number = Functions::getFormattedPhoneNumberFromPhoneNumber(value);
                        if (ownNumber && number == *ownNumber) continue;
                        numbers.push_back(std::move(number));
                    }
                }
                return numbers;
            },
            [weak](std::vector<std::string> numbers) {
                auto self = weak.lock();
                if (!self) return;
                self->allPhoneNumbers.insert(self->allPhoneNumbers.end(), numbers.begin(), numbers.end());
                self->setupContacts();
            });
    });
}

ListHandler<User> ContactsTableViewController::replacingRows(std::weak_ptr<ContactsTableViewController> screen) {
    return [screen](std::optional<RecordList<User>> list, Info error) {
        auto self = screen.lock();
        if (!self || error) return;
        self->contacts = list.value_or(RecordList<User>{});
        self->contactsTableView->reloadData();
    };
}

void ContactsTableViewController::setupContacts() {
    auto me = User::getCurrentUser();
    if (!me) return;
    me->getContactsUsingKelpaFromOwnAdressbook(Functions::getArrayAsCommaSeperatedList(allPhoneNumbers),
                                               replacingRows(weakAs<ContactsTableViewController>()));
}

void ContactsTableViewController::refreshTableView(ui::RefreshControl& sender) {
    auto me = User::getCurrentUser();
    // The control is ours, so it lives as long as the screen the handler holds.
    auto control = std::static_pointer_cast<ui::RefreshControl>(sender.shared_from_this());
    if (!me) return control->endRefreshing();
    auto replace = replacingRows(weakAs<ContactsTableViewController>());
    me->getContactsUsingKelpaFromOwnAdressbook(
        Functions::getArrayAsCommaSeperatedList(allPhoneNumbers),
        [replace, control](std::optional<RecordList<User>> list, Info error) {
            replace(std::move(list), error);
            control->endRefreshing();
        });
}

int ContactsTableViewController::numberOfRowsInSection(ui::TableView&, int) {
    return static_cast<int>(contacts.size());
}

std::shared_ptr<ui::TableViewCell> ContactsTableViewController::cellForRowAtIndexPath(ui::TableView& tableView,
                                                                                       const ui::IndexPath& indexPath) {
    auto cell = tableView.dequeueReusableCellWithIdentifier("Cell");
    if (!cell) cell = ui::TableViewCell::initWithStyle(ui::TableViewCell::Style::defaultStyle, "Cell");
    const auto& user = contacts.at(static_cast<std::size_t>(indexPath.row));
    cell->textLabel().setText(user->displayName.value_or("(null)"));
    pictures_->show(cell, user);
    return cell;
}

void ContactsTableViewController::didSelectRowAtIndexPath(ui::TableView&, const ui::IndexPath& indexPath) {
    if (indexPath.row < 0 || static_cast<std::size_t>(indexPath.row) >= contacts.size()) return;
    auto me = User::getCurrentUser();
    auto board = storyboard() ? storyboard() : ui::Storyboard::storyboardWithName("Main");
    if (!me || !board) return;
    auto chat = std::dynamic_pointer_cast<ChatViewController>(
        board->instantiateViewControllerWithIdentifier("ChatViewController"));
    if (!chat) return;
    auto contact = contacts[static_cast<std::size_t>(indexPath.row)];
    me->getMessagesWithUser(contact, [weak = weakAs<ContactsTableViewController>(), chat, contact](
                                         std::optional<RecordList<Message>> messages, Info) {
        auto self = weak.lock();
        if (!self) return;
        // A failed load still opens the conversation, empty.
        chat->messages = messages.value_or(RecordList<Message>{});
        chat->recipient = contact;
        if (auto* navigation = self->navigationController()) navigation->pushViewController(chat, true);
    });
}

}  // namespace kelpa
