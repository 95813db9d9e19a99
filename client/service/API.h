#pragma once

#include "client/service/Action.h"
#include "client/service/Parameters.h"
#include "client/service/SocialToken.h"

#include <nlohmann/json.hpp>

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace kelpa {

namespace platform {
struct Image;
}
class User;

// The only code that talks to the service. Both senders block: call them on a background
// queue. They return the decoded JSON reply (an object or a list), or nothing when no reply
// came or the body was no JSON object or list.
class API {
public:
    using Reply = std::optional<nlohmann::json>;

    // The user identifier of requests made before anybody is signed in.
    static constexpr const char* kAnonymousUserID = "-4321";
    static constexpr const char* kEndpointPath = "/api/v1.1/API.php";
    static constexpr const char* kMultipartBoundary = "---------------------------14737809831466499882746641449";
    static constexpr const char* kDefaultServiceURL = "http://127.0.0.1:8080";
    static constexpr const char* kServiceURLKey = "kServiceURL";

    static Reply requestWithDictionary(const Parameters& dictionary, const std::optional<std::string>& userID);
    static Reply sendImage(const platform::Image& image, Action action, const std::string& userID);
    static Reply decodeJSON(const std::optional<std::string>& data);

    // The service base address (scheme and host, no path): the override set by a command-line
    // option, else KELPA_SERVICE_URL, else the preferences key "kServiceURL", else the default.
    static std::string serviceBaseURL();
    static void setServiceBaseURL(std::optional<std::string> url);

    // Account calls.
    using LoginHandler = std::function<void(std::int32_t code, std::shared_ptr<User> user)>;
    using CodeHandler = std::function<void(std::int32_t code)>;
    static void loginUserWithUserID(const std::string& userID, LoginHandler handler);
    static void loginUserWithSocialID(const std::string& socialID, std::int32_t type, const SocialToken& token,
                                      LoginHandler handler);
    static void loginUserWithEmail(const std::string& email, const std::string& password, LoginHandler handler);
    static void registerNewUser(std::shared_ptr<User> user, const std::string& withEmail,
                                const std::string& andPassword, CodeHandler handler);
    static void registerNewUser(std::shared_ptr<User> user, const std::string& withSocialID, std::int32_t andType,
                                const SocialToken& token, CodeHandler handler);
    static void sendSMS(const std::string& body, const std::string& to, CodeHandler handler);
};

}  // namespace kelpa
