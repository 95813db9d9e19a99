#pragma once

#include "platform/kits/FacebookKit.h"

#include <map>
#include <mutex>

namespace kelpa::platform {

// A scriptable Facebook kit for tests. It records every call as a line ("logOut",
// "logInWithReadPermissions email", "startGraphRequest 1234", "fetchPicture 1234", ...) and
// answers from what the test set up. Like the real kit it delivers completions on the main
// queue, makes a successful login's token current and forgets the token on logOut.
class FakeFacebookKit : public FacebookKit {
public:
    // Unscripted logins end as cancelled by the user.
    void setLoginAnswer(std::optional<FacebookLoginResult> result,
                        std::optional<std::string> error = std::nullopt);
    // A successful login of this user (token "token-of-" and the identifier) with every asked
    // permission granted.
    void setLoginSucceeds(const std::string& userID);
    void setCurrentAccessToken(std::optional<FacebookAccessToken> token);
    // Answer for a Graph path; an unscripted path fails with an error.
    void setGraphAnswer(const std::string& graphPath, nlohmann::json result,
                        std::optional<std::string> error = std::nullopt);
    void setPicture(const std::string& socialID, std::optional<std::string> body);
    void setLaunchAnswer(bool answer);
    void setOpenURLAnswer(bool answer);

    std::vector<std::string> calls() const;
    std::vector<FacebookGraphRequest> graphRequests() const;
    void clearCalls();

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

private:
    struct GraphAnswer {
        nlohmann::json result;
        std::optional<std::string> error;
    };

    void record(std::string call) const;

    // Pictures are fetched from background queues while the main queue logs in.
    mutable std::mutex mutex_;
    mutable std::vector<std::string> calls_;
    std::vector<FacebookGraphRequest> graphRequests_;
    std::optional<FacebookLoginResult> loginResult_ = FacebookLoginResult{true, {}, std::nullopt};
    std::optional<std::string> loginError_;
    bool loginGrantsAll_ = false;
    std::optional<FacebookAccessToken> token_;
    std::map<std::string, GraphAnswer> graphAnswers_;
    std::map<std::string, std::optional<std::string>> pictures_;
    bool launchAnswer_ = true;
    bool openURLAnswer_ = false;
};

}  // namespace kelpa::platform
