#pragma once

#include "platform/kits/TwitterSession.h"
#include "platform/kits/TwitterUser.h"

#include <functional>
#include <optional>
#include <string>

namespace kelpa::platform {

// The Twitter kit as the application uses it: start at launch, log in and out, load a user
// through the API client and download its picture. Completions arrive on the main queue, as
// sign-in expects. Profile pictures download inside loadUserWithID's completion, so that
// download blocks the main queue for its duration; callers that mind run it elsewhere.
class TwitterKit {
public:
    using LoginCompletion =
        std::function<void(std::optional<TwitterSession> session, std::optional<std::string> error)>;
    using LoadUserCompletion =
        std::function<void(std::optional<TwitterUser> user, std::optional<std::string> error)>;

    virtual ~TwitterKit() = default;

    // The Twitter share of the one call that starts the kits at launch.
    virtual void start() = 0;

    virtual void logInWithCompletion(LoginCompletion completion) = 0;
    virtual void logOut() = 0;

    // The API client's user lookup.
    virtual void loadUserWithID(const std::string& userID, LoadUserCompletion completion) = 0;

    // The body at a picture address such as a user's profileImageLargeURL, or nothing. Blocks.
    virtual std::optional<std::string> downloadImage(const std::string& url) = 0;
};

}  // namespace kelpa::platform
