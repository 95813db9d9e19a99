#pragma once

#include "client/model/Handlers.h"
#include "client/service/DateFormat.h"

#include <nlohmann/json.hpp>

#include <memory>
#include <optional>
#include <string>

namespace kelpa {

// One chat message between two users.
class Message {
public:
    std::string messageID;
    std::optional<std::string> text;
    std::optional<std::string> fromUserID;
    std::optional<std::string> toUserID;
    std::optional<Date> sent;

    static std::shared_ptr<Message> initWithJSON(const nlohmann::json& json);

    static void sendMessage(std::shared_ptr<Message> message, StatusHandler handler);
};

}  // namespace kelpa
