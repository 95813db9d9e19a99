#pragma once

#include "platform/kits/FacebookKit.h"

namespace kelpa::platform {

// The Facebook kit of an installation that has no Facebook application identifier: every
// login and Graph request fails with "Facebook is not configured", there is no token and no
// picture. It never touches the network.
class UnconfiguredFacebookKit : public FacebookKit {
public:
    static constexpr const char* errorText = "Facebook is not configured";

    void logInWithReadPermissions(std::vector<std::string> permissions, LoginHandler handler) override;
    void logOut() override;
    std::optional<FacebookAccessToken> currentAccessToken() const override;
    void startGraphRequest(FacebookGraphRequest request,
                           GraphCompletionHandler completionHandler) override;
    std::optional<std::string> fetchPicture(const std::string& socialID) override;
    void activateApp() override;
    bool didFinishLaunchingWithOptions(const nlohmann::json& launchOptions) override;
    bool openURL(const std::string& url, const std::string& sourceApplication,
                 const nlohmann::json& annotation) override;
};

}  // namespace kelpa::platform
