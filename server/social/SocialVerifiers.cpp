#include "server/social/SocialVerifiers.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include <nlohmann/json.hpp>

#include "server/social/FacebookVerifier.h"
#include "server/social/TwitterVerifier.h"

namespace kelpa::server {
namespace {

using nlohmann::json;

struct Section {
    const json& object;
    std::string name;

    std::string required(const char* key) const {
        const auto it = object.find(key);
        if (it == object.end() || !it->is_string() || it->get<std::string>().empty())
            throw std::runtime_error(name + "." + key + " must be a non-empty text");
        return it->get<std::string>();
    }
    std::string address(const char* key, std::string fallback) const {
        const auto it = object.find(key);
        if (it == object.end()) return fallback;
        if (!it->is_string()) throw std::runtime_error(name + "." + key + " must be a text");
        std::string url = it->get<std::string>();
        if (!url.starts_with("https://") && !url.starts_with("http://"))
            throw std::runtime_error(name + "." + key + " must be an http:// or https:// address");
        while (url.ends_with('/')) url.pop_back();
        return url;
    }
};

const json* section(const json& config, const char* name) {
    const auto it = config.find(name);
    if (it == config.end()) return nullptr;
    if (!it->is_object()) throw std::runtime_error(std::string(name) + " must be an object");
    return &*it;
}

}  // namespace

SocialVerifiers SocialVerifiers::fromFile(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::stringstream text;
    text << in.rdbuf();
    const auto config = json::parse(text.str(), nullptr, false);
    if (!config.is_object()) throw std::runtime_error(path + " is not a JSON object");
    SocialVerifiers verifiers;
    try {
        if (const auto* facebook = section(config, "facebook")) {
            const Section s{*facebook, "facebook"};
            verifiers.facebook = std::make_shared<FacebookVerifier>(FacebookVerifier::Settings{
                s.address("graphURL", "https://graph.facebook.com"), s.required("appID"), s.required("appSecret")});
        }
        if (const auto* twitter = section(config, "twitter")) {
            const Section s{*twitter, "twitter"};
            verifiers.twitter = std::make_shared<TwitterVerifier>(TwitterVerifier::Settings{
                s.address("apiURL", "https://api.twitter.com"), s.required("consumerKey"),
                s.required("consumerSecret")});
        }
    } catch (const std::runtime_error& e) {
        throw std::runtime_error(path + ": " + e.what());
    }
    return verifiers;
}

const SocialVerifier* SocialVerifiers::forType(int socialType) const {
    return (socialType == 0 ? facebook : socialType == 1 ? twitter : nullptr).get();
}

const char* SocialVerifiers::networkName(int socialType) { return socialType == 0 ? "Facebook" : "Twitter"; }

}  // namespace kelpa::server
