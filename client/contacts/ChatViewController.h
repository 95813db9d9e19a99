#pragma once

#include "client/bluetooth/MasterViewController.h"
#include "client/model/Handlers.h"
#include "platform/NotificationCenter.h"
#include "platform/ui/Button.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextField.h"

#include <memory>
#include <optional>

namespace kelpa {

class Message;
class User;

// The conversation with one other user. The list holds the newest message first and the
// table is drawn upside down, so the newest row stands at the bottom; a sent message shows
// at once, and a "reloadChat" notification (a push about a new message) loads the
// conversation anew.
class ChatViewController : public MasterViewController,
                           public platform::ui::TableViewDataSource,
                           public platform::ui::TextFieldDelegate {
public:
    static constexpr const char* kReloadNotification = "reloadChat";
    static constexpr const char* kSentFormat = "<< ";
    static constexpr const char* kReceivedFormat = ">> ";
    static constexpr double kKeyboardShift = 200;
    // The duration is a single-precision 0.3, widened.
    static constexpr double kKeyboardDuration = static_cast<double>(0.3f);

    ~ChatViewController() override;

    const char* className() const override { return "ChatViewController"; }

    void loadView() override;
    void viewDidLoad() override;
    void touchesBegan() override;

    void sendText();
    void reloadChat(const platform::Notification& notification);
    void tableViewTapped();
    void animateTextField(platform::ui::TextField& textField, bool up);

    int numberOfSectionsInTableView(platform::ui::TableView& tableView) override;
    int numberOfRowsInSection(platform::ui::TableView& tableView, int section) override;
    std::shared_ptr<platform::ui::TableViewCell> cellForRowAtIndexPath(
        platform::ui::TableView& tableView, const platform::ui::IndexPath& indexPath) override;

    void textFieldDidBeginEditing(platform::ui::TextField& textField) override;
    void textFieldDidEndEditing(platform::ui::TextField& textField) override;

    std::shared_ptr<User> recipient;
    std::optional<RecordList<Message>> messages;  // newest first
    std::shared_ptr<platform::ui::TableView> chatTableView;
    std::shared_ptr<platform::ui::TextField> textToSend;
    std::shared_ptr<platform::ui::Button> sendButton;

private:
    // The centre the screen registered with: it may be destroyed where another is current.
    std::weak_ptr<platform::NotificationCenter> reloadCentre_;
    std::optional<platform::NotificationCenter::Token> reloadToken_;
};

}  // namespace kelpa
