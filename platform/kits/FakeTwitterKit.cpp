#include "platform/kits/FakeTwitterKit.h"

#include "platform/Async.h"

namespace kelpa::platform {

void FakeTwitterKit::setLoginAnswer(std::optional<TwitterSession> session,
                                    std::optional<std::string> error) {
    std::lock_guard lock(mutex_);
    loginSession_ = std::move(session);
    loginError_ = std::move(error);
}

void FakeTwitterKit::addUser(TwitterUser user) {
    std::lock_guard lock(mutex_);
    auto id = user.userID;
    users_[id] = std::move(user);
}

void FakeTwitterKit::setImage(const std::string& url, std::optional<std::string> body) {
    std::lock_guard lock(mutex_);
    images_[url] = std::move(body);
}

std::vector<std::string> FakeTwitterKit::calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
}

void FakeTwitterKit::clearCalls() {
    std::lock_guard lock(mutex_);
    calls_.clear();
}

void FakeTwitterKit::record(std::string call) { calls_.push_back(std::move(call)); }

void FakeTwitterKit::start() {
    std::lock_guard lock(mutex_);
    record("start");
}

void FakeTwitterKit::logInWithCompletion(LoginCompletion completion) {
    std::optional<TwitterSession> session;
    std::optional<std::string> error;
    {
        std::lock_guard lock(mutex_);
        record("logInWithCompletion");
        session = loginSession_;
        error = loginError_;
    }
    if (!completion) return;
    onMain([completion = std::move(completion), session = std::move(session),
            error = std::move(error)] { completion(session, error); });
}

void FakeTwitterKit::logOut() {
    std::lock_guard lock(mutex_);
    record("logOut");
}

void FakeTwitterKit::loadUserWithID(const std::string& userID, LoadUserCompletion completion) {
    std::optional<TwitterUser> user;
    std::optional<std::string> error;
    {
        std::lock_guard lock(mutex_);
        record("loadUserWithID " + userID);
        if (auto it = users_.find(userID); it != users_.end()) {
            user = it->second;
        } else {
            error = "no Twitter user " + userID;
        }
    }
    if (!completion) return;
    onMain([completion = std::move(completion), user = std::move(user), error = std::move(error)] {
        completion(user, error);
    });
}

std::optional<std::string> FakeTwitterKit::downloadImage(const std::string& url) {
    std::lock_guard lock(mutex_);
    record("downloadImage " + url);
    auto it = images_.find(url);
    return it == images_.end() ? std::nullopt : it->second;
}

}  // namespace kelpa::platform
