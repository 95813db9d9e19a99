#include "client/contacts/ChatViewController.h"

#include "client/app/ScreenSupport.h"
#include "client/model/Functions.h"
#include "client/model/Message.h"
#include "client/model/User.h"
#include "platform/Environment.h"
#include "platform/MainQueue.h"
#include "platform/ui/TableViewCell.h"

namespace kelpa {

namespace ui = platform::ui;

namespace {
const ui::Transform kFlipped{1, -1};
}

ChatViewController::~ChatViewController() {
    // The centre outlives the screen; an observer left behind would only find the screen gone.
    if (auto centre = reloadCentre_.lock(); centre && reloadToken_) centre->removeObserver(*reloadToken_);
}

void ChatViewController::loadView() {
    MasterViewController::loadView();
    auto& root = *view();
    chatTableView = std::make_shared<ui::TableView>("chatTableView");
    chatTableView->setAccessibilityLabel("Messages");
    root.addSubview(chatTableView);
    textToSend = ScreenSupport::addField(root, "textToSend", "Message");
    sendButton = std::make_shared<ui::Button>("sendButton");
    sendButton->setTitle("Send");
    sendButton->addTarget(ui::Control::Event::primaryAction, [this](ui::Control&) { sendText(); });
    root.addSubview(sendButton);
}

void ChatViewController::viewDidLoad() {
    MasterViewController::viewDidLoad();
    setTitle(recipient && recipient->displayName ? *recipient->displayName : "(null)");
    if (!messages) messages.emplace();
    textToSend->setDelegate(weakAs<ui::TextFieldDelegate>());
    chatTableView->setDataSource(weakAs<ui::TableViewDataSource>());
    chatTableView->setTransform(kFlipped);
    auto centre = platform::Environment::current()->notifications;
    reloadCentre_ = centre;
    reloadToken_ = centre->addObserver(
        kReloadNotification, [weak = weakAs<ChatViewController>()](const platform::Notification& notification) {
            if (auto self = weak.lock()) self->reloadChat(notification);
        });
    chatTableView->reloadData();
}

void ChatViewController::touchesBegan() { view()->endEditing(true); }

void ChatViewController::tableViewTapped() { view()->endEditing(true); }

int ChatViewController::numberOfSectionsInTableView(ui::TableView&) { return 1; }

int ChatViewController::numberOfRowsInSection(ui::TableView&, int) {
    return messages ? static_cast<int>(messages->size()) : 0;
}

std::shared_ptr<ui::TableViewCell> ChatViewController::cellForRowAtIndexPath(ui::TableView& tableView,
                                                                            const ui::IndexPath& indexPath) {
    auto cell = tableView.dequeueReusableCellWithIdentifier("Cell");
    if (!cell) cell = ui::TableViewCell::initWithStyle(ui::TableViewCell::Style::subtitle, "Cell");
    const auto& message = messages->at(static_cast<std::size_t>(indexPath.row));
    auto me = User::getCurrentUser();
    const bool mine = me && message->fromUserID && me->userID && *message->fromUserID == *me->userID;
    cell->textLabel().setText(std::string(mine ? kSentFormat : kReceivedFormat) + message->text.value_or("(null)"));
    if (auto* detail = cell->detailTextLabel()) {
        detail->setText(message->sent ? Functions::getStringFromDate(*message->sent) : "(null)");
    }
    cell->setTransform(kFlipped);
    return cell;
}

void ChatViewController::sendText() {
    const std::string typed = textToSend->text();
    if (typed.empty()) return;
    auto me = User::getCurrentUser();
    auto message = std::make_shared<Message>();
    message->text = typed;
    if (me) message->fromUserID = me->userID;
    if (recipient) message->toUserID = recipient->userID;
    message->sent = platform::Environment::current()->mainQueue->now();
    Message::sendMessage(message, [weak = weakAs<ChatViewController>()](std::int32_t, Info info) {
        auto self = weak.lock();
        if (!self || !info) return;
        // The message stays in the list: the person sees what they wrote and why it failed.
        ScreenSupport::presentOK(*self, "error", *info);
    });
    if (!messages) messages.emplace();
    messages->insert(messages->begin(), message);
    chatTableView->reloadData();
    textToSend->setText("");
}

void ChatViewController::reloadChat(const platform::Notification&) {
    auto me = User::getCurrentUser();
    if (!me || !recipient) return;
    me->getMessagesWithUser(recipient, [weak = weakAs<ChatViewController>()](std::optional<RecordList<Message>> list,
                                                                            Info error) {
        auto self = weak.lock();
        if (!self || error || !list) return;
        self->messages = std::move(list);
        self->chatTableView->reloadData();
    });
}

void ChatViewController::textFieldDidBeginEditing(ui::TextField& textField) { animateTextField(textField, true); }

void ChatViewController::textFieldDidEndEditing(ui::TextField& textField) { animateTextField(textField, false); }

void ChatViewController::animateTextField(ui::TextField&, bool up) {
    const double movement = up ? -kKeyboardShift : kKeyboardShift;
    ui::View::animateWithDuration(kKeyboardDuration, 0, ui::View::AnimationCurve::easeInOut, [this, movement] {
        auto frame = view()->frame();
        frame.y += movement;
        view()->setFrame(frame);
    });
}

}  // namespace kelpa
