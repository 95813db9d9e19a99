#pragma once

#include "client/service/API.h"

#include <cstdint>
#include <optional>
#include <string>

namespace kelpa {

struct StatusResult {
    std::int32_t code = 0;
    std::optional<std::string> info;
};

// The reading rules for the three reply shapes.
class Reply {
public:
    static constexpr const char* kUnknownError = "Unknown Error";

    // "code" read as an integer; absent reads as 0.
    static std::int32_t code(const nlohmann::json& reply);
    // "info" as text when present.
    static std::optional<std::string> info(const nlohmann::json& reply);

    // Status reply: "info" marks failure. No reply at all is a failure too, code 1 with
    // "Unknown Error", never a silent success.
    static StatusResult status(const API::Reply& reply);

    // List reply: the list itself, or the list under `member` of an object. Any other shape
    // is treated as no reply: nullptr.
    static const nlohmann::json* list(const API::Reply& reply, const char* member = nullptr);
    // One-object reply: the object, or nullptr when none came, it is no object, or it is an
    // envelope with "code" or "info".
    static const nlohmann::json* object(const API::Reply& reply);
    // Why a one-object reply gave no object: the service's "info" when it sent one, else
    // "Unknown Error".
    static std::string objectError(const API::Reply& reply);
};

}  // namespace kelpa
