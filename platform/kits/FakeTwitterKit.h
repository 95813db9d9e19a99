#pragma once

#include "platform/kits/TwitterKit.h"

#include <map>
#include <mutex>
#include <vector>

namespace kelpa::platform {

// A scriptable Twitter kit for tests. It records every call as a line ("start",
// "logInWithCompletion", "loadUserWithID 42", "downloadImage https://...", "logOut") and
// answers from what the test set up, delivering completions on the main queue.
class FakeTwitterKit : public TwitterKit {
public:
    static constexpr const char* cancelledText = "Twitter login cancelled";

    // Unscripted logins deliver no session and cancelledText.
    void setLoginAnswer(std::optional<TwitterSession> session,
                        std::optional<std::string> error = std::nullopt);
    // Users the API client knows; any other identifier fails with an error.
    void addUser(TwitterUser user);
    // Picture bodies by address; any other address gives nothing.
    void setImage(const std::string& url, std::optional<std::string> body);

    std::vector<std::string> calls() const;
    void clearCalls();

    void start() override;
    void logInWithCompletion(LoginCompletion completion) override;
    void logOut() override;
    void loadUserWithID(const std::string& userID, LoadUserCompletion completion) override;
    std::optional<std::string> downloadImage(const std::string& url) override;

private:
    void record(std::string call);

    // User lookups and downloads come from background queues too.
    mutable std::mutex mutex_;
    std::vector<std::string> calls_;
    std::optional<TwitterSession> loginSession_;
    std::optional<std::string> loginError_ = std::string(cancelledText);
    std::map<std::string, TwitterUser> users_;
    std::map<std::string, std::optional<std::string>> images_;
};

}  // namespace kelpa::platform
