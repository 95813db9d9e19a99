#include "tests/server/FakeSocialNetworks.h"

#include <fstream>
#include <regex>

#include <nlohmann/json.hpp>

#include "server/social/OAuth1Signer.h"

namespace kelpa::server::testing {
namespace {

using kelpa::testing::LoopbackHttpServer;
using nlohmann::json;

std::string percentDecode(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            out.push_back(static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16)));
            i += 2;
        } else {
            out.push_back(text[i] == '+' ? ' ' : text[i]);
        }
    }
    return out;
}

std::map<std::string, std::string> queryOf(const std::string& query) {
    std::map<std::string, std::string> fields;
    std::size_t start = 0;
    while (start <= query.size()) {
        const auto end = std::min(query.find('&', start), query.size());
        const auto pair = query.substr(start, end - start);
        const auto equals = pair.find('=');
        if (equals != std::string::npos) fields[percentDecode(pair.substr(0, equals))] = percentDecode(pair.substr(equals + 1));
        start = end + 1;
    }
    return fields;
}

LoopbackHttpServer::Reply reply(int status, const json& body) { return {status, body.dump()}; }

}  // namespace

FakeSocialNetworks::FakeSocialNetworks()
    : server_([this](const std::string& raw) { return answer(raw); }) {}

std::string FakeSocialNetworks::facebookToken(const std::string& userID, const std::string& app) {
    std::lock_guard lock(mutex_);
    const std::string token = "EAA" + std::to_string(++issued_) + "x" + userID;
    facebook_[token] = {userID, app, {}, true};
    return token;
}

std::pair<std::string, std::string> FakeSocialNetworks::twitterToken(const std::string& userID) {
    std::lock_guard lock(mutex_);
    const std::string token = std::to_string(++issued_) + "-tw";
    const std::string secret = "secret+/" + std::to_string(issued_);
    twitter_[token] = {userID, {}, secret, true};
    return {token, secret};
}

void FakeSocialNetworks::revoke(const std::string& token) {
    std::lock_guard lock(mutex_);
    for (auto* issued : {&facebook_, &twitter_}) {
        if (auto it = issued->find(token); it != issued->end()) it->second.valid = false;
    }
}

void FakeSocialNetworks::setDown(bool down) {
    std::lock_guard lock(mutex_);
    down_ = down;
}

std::string FakeSocialNetworks::writeConfig(const std::string& dir, bool facebook, bool twitter) const {
    json config = json::object();
    if (facebook) config["facebook"] = {{"appID", kAppID}, {"appSecret", kAppSecret}, {"graphURL", url()}};
    if (twitter)
        config["twitter"] = {{"consumerKey", kConsumerKey}, {"consumerSecret", kConsumerSecret}, {"apiURL", url()}};
    const std::string path = dir + "/social.json";
    std::ofstream(path) << config.dump(2);
    return path;
}

LoopbackHttpServer::Reply FakeSocialNetworks::answer(const std::string& raw) {
    {
        std::lock_guard lock(mutex_);
        if (down_) return {503, "{}"};
    }
    const auto line = LoopbackHttpServer::requestLine(raw);
    const auto firstSpace = line.find(' ');
    const auto target = line.substr(firstSpace + 1, line.rfind(' ') - firstSpace - 1);
    const auto question = target.find('?');
    const auto path = target.substr(0, question);
    const auto query = question == std::string::npos ? std::string() : target.substr(question + 1);
    if (line.starts_with("GET ") && path == "/debug_token") return facebook(query);
    if (line.starts_with("GET ") && path == "/1.1/account/verify_credentials.json") return twitter(raw, target);
    return reply(404, {{"error", "no such endpoint"}});
}

LoopbackHttpServer::Reply FakeSocialNetworks::facebook(const std::string& query) {
    auto fields = queryOf(query);
    if (fields["access_token"] != std::string(kAppID) + "|" + kAppSecret)
        return reply(400, {{"error", {{"message", "Invalid OAuth access token."}, {"code", 190}}}});
    std::lock_guard lock(mutex_);
    const auto it = facebook_.find(fields["input_token"]);
    if (it == facebook_.end())
        return reply(400, {{"error", {{"message", "Invalid OAuth access token - Cannot parse access token"}}}});
    return reply(200, {{"data",
                        {{"app_id", it->second.app},
                         {"type", "USER"},
                         {"is_valid", it->second.valid},
                         {"user_id", it->second.userID}}}});
}

LoopbackHttpServer::Reply FakeSocialNetworks::twitter(const std::string& raw, const std::string& target) {
    const auto head = LoopbackHttpServer::headOf(raw);
    std::smatch header;
    if (!std::regex_search(head, header, std::regex("\r\nAuthorization: OAuth ([^\r]*)")))
        return reply(400, {{"errors", {{{"code", 215}, {"message", "Bad Authentication data."}}}}});
    std::map<std::string, std::string> oauth;
    const std::string parameters = header[1];
    const std::regex pair("([a-z_]+)=\"([^\"]*)\"");
    for (auto it = std::sregex_iterator(parameters.begin(), parameters.end(), pair); it != std::sregex_iterator(); ++it)
        oauth[(*it)[1]] = percentDecode((*it)[2]);
    const auto unauthorized = reply(401, {{"errors", {{{"code", 32}, {"message", "Could not authenticate you."}}}}});
    std::lock_guard lock(mutex_);
    const auto issued = twitter_.find(oauth["oauth_token"]);
    if (issued == twitter_.end() || !issued->second.valid || oauth["oauth_consumer_key"] != kConsumerKey)
        return unauthorized;
    const auto question = target.find('?');
    OAuth1Signer::Parameters query;
    for (const auto& [name, value] : queryOf(question == std::string::npos ? "" : target.substr(question + 1)))
        query.emplace_back(name, value);
    const auto expected = OAuth1Signer::signature(
        "GET", url() + target.substr(0, question), query,
        {kConsumerKey, kConsumerSecret, issued->first, issued->second.secret}, oauth["oauth_nonce"],
        std::stoll(oauth["oauth_timestamp"].empty() ? "0" : oauth["oauth_timestamp"]));
    if (oauth["oauth_signature"] != expected) return unauthorized;
    return reply(200, {{"id_str", issued->second.userID}, {"screen_name", "someone"}});
}

}  // namespace kelpa::server::testing
