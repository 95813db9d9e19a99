#include "platform/kits/UnconfiguredFacebookKit.h"

#include "platform/Async.h"

namespace kelpa::platform {

void UnconfiguredFacebookKit::logInWithReadPermissions(std::vector<std::string>, LoginHandler handler) {
    if (!handler) return;
    onMain([handler = std::move(handler)] { handler(std::nullopt, std::string(errorText)); });
}

void UnconfiguredFacebookKit::logOut() {}

std::optional<FacebookAccessToken> UnconfiguredFacebookKit::currentAccessToken() const {
    return std::nullopt;
}

void UnconfiguredFacebookKit::startGraphRequest(FacebookGraphRequest,
                                                GraphCompletionHandler completionHandler) {
    if (!completionHandler) return;
    onMain([handler = std::move(completionHandler)] {
        handler(nlohmann::json(), std::string(errorText));
    });
}

std::optional<std::string> UnconfiguredFacebookKit::fetchPicture(const std::string&) {
    return std::nullopt;
}

void UnconfiguredFacebookKit::activateApp() {}

// Nothing here stops the launch.
bool UnconfiguredFacebookKit::didFinishLaunchingWithOptions(const nlohmann::json&) { return true; }

// No login can be waiting for a browser, so no URL is ours.
bool UnconfiguredFacebookKit::openURL(const std::string&, const std::string&, const nlohmann::json&) {
    return false;
}

}  // namespace kelpa::platform
