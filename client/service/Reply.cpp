#include "client/service/Reply.h"

#include "client/service/JSONConversion.h"

namespace kelpa {

std::int32_t Reply::code(const nlohmann::json& reply) { return JSONConversion::integer(reply, "code"); }

std::optional<std::string> Reply::info(const nlohmann::json& reply) {
    return JSONConversion::unchangedText(reply, "info");
}

StatusResult Reply::status(const API::Reply& reply) {
    if (!reply || !reply->is_object()) return {1, std::string(kUnknownError)};
    if (auto text = info(*reply)) return {code(*reply), std::move(text)};
    return {code(*reply), std::nullopt};
}

const nlohmann::json* Reply::list(const API::Reply& reply, const char* member) {
    if (!reply) return nullptr;
    const nlohmann::json* value = &*reply;
    if (member) value = JSONConversion::member(*reply, member);
    return value && value->is_array() ? value : nullptr;
}

const nlohmann::json* Reply::object(const API::Reply& reply) {
    // An envelope carrying "code" or "info" is a refusal, not the record.
    if (!reply || !reply->is_object() || JSONConversion::member(*reply, "info") ||
        JSONConversion::member(*reply, "code")) {
        return nullptr;
    }
    return &*reply;
}

std::string Reply::objectError(const API::Reply& reply) {
    if (reply && reply->is_object()) {
        if (auto text = info(*reply)) return *text;
    }
    return kUnknownError;
}

}  // namespace kelpa
