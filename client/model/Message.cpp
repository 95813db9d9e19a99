#include "client/model/Message.h"

#include "client/model/User.h"
#include "client/service/API.h"
#include "client/service/JSONConversion.h"
#include "client/service/Reply.h"
#include "platform/Async.h"

namespace kelpa {

using C = JSONConversion;

std::shared_ptr<Message> Message::initWithJSON(const nlohmann::json& json) {
    auto message = std::make_shared<Message>();
    message->messageID = C::text(json, "messageID");
    message->text = C::unchangedText(json, "text");
    message->fromUserID = C::unchangedText(json, "fromUserID");
    message->toUserID = C::unchangedText(json, "toUserID");
    message->sent = C::date(json, "sent");
    return message;
}

void Message::sendMessage(std::shared_ptr<Message> message, StatusHandler handler) {
    auto current = User::getCurrentUser();
    std::optional<std::string> userID = current ? current->userID : std::nullopt;
    Parameters parameters(Action::sendMessage);
    parameters.add("text", message->text.value_or("")).add("toUserID", message->toUserID.value_or(""));
    platform::runInBackground(
        "sendMessage", [parameters, userID] { return Reply::status(API::requestWithDictionary(parameters, userID)); },
        [handler](StatusResult result) {
            if (handler) handler(result.code, result.info);
        });
}

}  // namespace kelpa
