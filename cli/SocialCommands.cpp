#include "cli/SocialCommands.h"

#include "cli/Invocation.h"
#include "cli/RecordJson.h"
#include "cli/RecordText.h"
#include "cli/Run.h"
#include "client/model/Message.h"
#include "client/model/User.h"

#include <CLI/CLI.hpp>
#include <fmt/format.h>

namespace kelpa::cli {

namespace {
struct SocialOptions {
    std::string userID;
    std::string text;
};

// A list completion printed as users under `key`.
ListHandler<User> printUsers(Run& run, const char* key, const char* failure, const char* empty) {
    return [&run, key, failure, empty](std::optional<RecordList<User>> users, Info error) {
        if (!users) return run.fail(error.value_or(failure));
        nlohmann::json list = nlohmann::json::array();
        std::string text;
        for (const auto& user : *users) {
            list.push_back(RecordJson::user(*user));
            text += RecordText::user(*user) + "\n";
        }
        run.succeed({{"ok", true}, {key, list}}, users->empty() ? std::string(empty) : text);
    };
}

void addContact(Run& run, const std::shared_ptr<User>& user, const std::string& contactID) {
    user->addContact(contactID, [&run, contactID](std::int32_t code, Info info) {
        if (code != 0) return run.failStatus(code, info, "adding the contact failed");
        run.succeed({{"ok", true}, {"contactID", contactID}}, "added contact " + contactID);
    });
}

void showChat(Run& run, const std::shared_ptr<User>& user, const std::string& otherID) {
    auto other = std::make_shared<User>();
    other->userID = otherID;
    user->getMessagesWithUser(other, [&run, otherID](std::optional<RecordList<Message>> messages, Info error) {
        if (!messages) return run.fail(error.value_or("loading the messages failed"));
        nlohmann::json list = nlohmann::json::array();
        std::string text;
        // The service's order, newest first.
        for (const auto& message : *messages) {
            list.push_back(RecordJson::message(*message));
            text += RecordText::message(*message) + "\n";
        }
        run.succeed({{"ok", true}, {"userID", otherID}, {"messages", list}}, messages->empty() ? "no messages" : text);
    });
}

void sendMessage(Run& run, const std::string& toUserID, const std::string& text) {
    auto message = std::make_shared<Message>();
    message->toUserID = toUserID;
    message->text = text;
    Message::sendMessage(message, [&run, toUserID](std::int32_t code, Info info) {
        if (code != 0) return run.failStatus(code, info, "sending the message failed");
        run.succeed({{"ok", true}, {"toUserID", toUserID}}, "sent to " + toUserID);
    });
}
}  // namespace

void SocialCommands::add(CLI::App& app, Invocation& chosen) {
    auto options = std::make_shared<SocialOptions>();

    app.add_subcommand("contacts", "List the contacts of the signed-in user")->callback([&chosen] {
        chosen.set(true, [](Run& run, std::shared_ptr<User> user) {
            user->getContactsWithCompletitionHandler(printUsers(run, "contacts", "loading the contacts failed", "no contacts"));
        });
    });

    auto* contact = app.add_subcommand("contact", "Change the contacts");
    contact->require_subcommand(1);
    auto* add = contact->add_subcommand("add", "Add a user as a contact");
    add->add_option("id", options->userID, "User identifier")->required();
    add->callback([&chosen, options] {
        chosen.set(true, [options](Run& run, std::shared_ptr<User> user) { addContact(run, user, options->userID); });
    });

    app.add_subcommand("users", "List the users the service offers")->callback([&chosen] {
        chosen.set(true, [](Run& run, std::shared_ptr<User> user) {
            user->getAllAvailableUsers(printUsers(run, "users", "loading the users failed", "no users"));
        });
    });

    auto* chat = app.add_subcommand("chat", "Show the chat with a user, or send a message with --send");
    chat->add_option("user", options->userID, "The other user's identifier")->required();
    auto* send = chat->add_option("--send", options->text, "Send this text");
    chat->callback([&chosen, options, send] {
        if (send->count() > 0 && options->text.empty()) throw CLI::ValidationError("--send", "needs a text");
        const bool sending = send->count() > 0;
        chosen.set(true, [options, sending](Run& run, std::shared_ptr<User> user) {
            if (sending) {
                sendMessage(run, options->userID, options->text);
            } else {
                showChat(run, user, options->userID);
            }
        });
    });
}

}  // namespace kelpa::cli
