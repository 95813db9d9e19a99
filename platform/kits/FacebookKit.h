#pragma once

#include "platform/HttpClient.h"
#include "platform/kits/FacebookAccessToken.h"
#include "platform/kits/FacebookGraphRequest.h"
#include "platform/kits/FacebookLoginResult.h"

#include <nlohmann/json.hpp>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kelpa::platform {

// The Facebook SDK as the application uses it: the login manager, the current access token,
// Graph requests, app events, the application delegate hand-offs and the profile picture.
// Completions of asynchronous calls arrive on the main queue, as sign-in expects.
class FacebookKit {
public:
    using LoginHandler = std::function<void(std::optional<FacebookLoginResult> result,
                                            std::optional<std::string> error)>;
    // The result is the Graph API's JSON object ("id", "name" for a user's profile).
    using GraphCompletionHandler =
        std::function<void(nlohmann::json result, std::optional<std::string> error)>;

    virtual ~FacebookKit() = default;

    // Login manager. A successful login also becomes the current access token.
    virtual void logInWithReadPermissions(std::vector<std::string> permissions,
                                          LoginHandler handler) = 0;
    virtual void logOut() = 0;

    // The token a former login left behind, if any.
    virtual std::optional<FacebookAccessToken> currentAccessToken() const = 0;

    // A new Graph request connection that carries the one request and starts at once.
    virtual void startGraphRequest(FacebookGraphRequest request,
                                   GraphCompletionHandler completionHandler) = 0;

    // The body of the public profile picture of a Facebook user, or nothing. Blocks: callers
    // run it on their background queue.
    virtual std::optional<std::string> fetchPicture(const std::string& socialID) = 0;

    // App events: the application became active.
    virtual void activateApp() = 0;

    // Application delegate hand-offs. The launch answer becomes the answer of the launch; an
    // opened URL may complete a login that went through the browser.
    virtual bool didFinishLaunchingWithOptions(const nlohmann::json& launchOptions) = 0;
    virtual bool openURL(const std::string& url, const std::string& sourceApplication,
                         const nlohmann::json& annotation) = 0;

    // The request for a user's picture: 700 pixels wide, over https.
    static HttpRequest pictureRequest(const std::string& socialID);
};

}  // namespace kelpa::platform
