#include "server/social/FacebookVerifier.h"

#include <nlohmann/json.hpp>

#include "server/http/OutboundHttp.h"

namespace kelpa::server {

FacebookVerifier::FacebookVerifier(Settings settings) : settings_(std::move(settings)) {}

SocialVerifier::Verdict FacebookVerifier::verify(const SocialProof& proof) const {
    const auto& encode = OutboundHttp::percentEncode;
    const std::string url = settings_.graphURL + "/debug_token?input_token=" + encode(proof.token) +
                            "&access_token=" + encode(settings_.appID + "|" + settings_.appSecret);
    const auto answer = OutboundHttp::exchange(url, {"Accept: application/json"});
    if (!answer || answer->status >= 500) return Verdict::unreachable;
    // A token Facebook does not know is answered with an error object and a 4xx status.
    const auto reply = nlohmann::json::parse(answer->body, nullptr, false);
    if (answer->status != 200 || !reply.is_object()) return Verdict::rejected;
    const auto data = reply.find("data");
    if (data == reply.end() || !data->is_object()) return Verdict::rejected;
    const auto text = [&](const char* key) {
        const auto it = data->find(key);
        return it != data->end() && it->is_string() ? it->get<std::string>() : std::string();
    };
    const auto valid = data->find("is_valid");
    const bool confirmed = valid != data->end() && valid->is_boolean() && valid->get<bool>() &&
                           text("app_id") == settings_.appID && text("user_id") == proof.socialID;
    return confirmed ? Verdict::confirmed : Verdict::rejected;
}

}  // namespace kelpa::server
