#include "server/social/TwitterVerifier.h"

#include <nlohmann/json.hpp>

#include "server/http/OutboundHttp.h"
#include "server/social/OAuth1Signer.h"

namespace kelpa::server {

TwitterVerifier::TwitterVerifier(Settings settings) : settings_(std::move(settings)) {}

SocialVerifier::Verdict TwitterVerifier::verify(const SocialProof& proof) const {
    const std::string address = settings_.apiURL + "/1.1/account/verify_credentials.json";
    const OAuth1Signer::Parameters query = {{"include_entities", "false"}, {"skip_status", "true"}};
    const auto authorization = OAuth1Signer::authorization(
        "GET", address, query, {settings_.consumerKey, settings_.consumerSecret, proof.token, proof.tokenSecret});
    const auto answer = OutboundHttp::exchange(address + "?include_entities=false&skip_status=true",
                                               {"Accept: application/json", "Authorization: " + authorization});
    if (!answer || answer->status >= 500 || answer->status == 429) return Verdict::unreachable;
    if (answer->status != 200) return Verdict::rejected;
    const auto reply = nlohmann::json::parse(answer->body, nullptr, false);
    if (!reply.is_object()) return Verdict::rejected;
    const auto id = reply.find("id_str");
    return id != reply.end() && id->is_string() && id->get<std::string>() == proof.socialID ? Verdict::confirmed
                                                                                            : Verdict::rejected;
}

}  // namespace kelpa::server
