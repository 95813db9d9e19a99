#include "platform/kits/FakeFacebookKit.h"

#include "platform/Async.h"

namespace kelpa::platform {

namespace {
std::string joined(const std::vector<std::string>& words) {
    std::string text;
    for (const auto& word : words) {
        if (!text.empty()) text += ',';
        text += word;
    }
    return text;
}
}  // namespace

void FakeFacebookKit::setLoginAnswer(std::optional<FacebookLoginResult> result,
                                     std::optional<std::string> error) {
    std::lock_guard lock(mutex_);
    loginResult_ = std::move(result);
    loginError_ = std::move(error);
    loginGrantsAll_ = false;
}

void FakeFacebookKit::setLoginSucceeds(const std::string& userID) {
    std::lock_guard lock(mutex_);
    loginResult_ = FacebookLoginResult{false, {}, FacebookAccessToken{userID, "token-of-" + userID}};
    loginError_.reset();
    loginGrantsAll_ = true;
}

void FakeFacebookKit::setCurrentAccessToken(std::optional<FacebookAccessToken> token) {
    std::lock_guard lock(mutex_);
    token_ = std::move(token);
}

void FakeFacebookKit::setGraphAnswer(const std::string& graphPath, nlohmann::json result,
                                     std::optional<std::string> error) {
    std::lock_guard lock(mutex_);
    graphAnswers_[graphPath] = GraphAnswer{std::move(result), std::move(error)};
}

void FakeFacebookKit::setPicture(const std::string& socialID, std::optional<std::string> body) {
    std::lock_guard lock(mutex_);
    pictures_[socialID] = std::move(body);
}

void FakeFacebookKit::setLaunchAnswer(bool answer) {
    std::lock_guard lock(mutex_);
    launchAnswer_ = answer;
}

void FakeFacebookKit::setOpenURLAnswer(bool answer) {
    std::lock_guard lock(mutex_);
    openURLAnswer_ = answer;
}

std::vector<std::string> FakeFacebookKit::calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
}

std::vector<FacebookGraphRequest> FakeFacebookKit::graphRequests() const {
    std::lock_guard lock(mutex_);
    return graphRequests_;
}

void FakeFacebookKit::clearCalls() {
    std::lock_guard lock(mutex_);
    calls_.clear();
    graphRequests_.clear();
}

void FakeFacebookKit::record(std::string call) const { calls_.push_back(std::move(call)); }

void FakeFacebookKit::logInWithReadPermissions(std::vector<std::string> permissions,
                                               LoginHandler handler) {
    std::optional<FacebookLoginResult> result;
    std::optional<std::string> error;
    {
        std::lock_guard lock(mutex_);
        record("logInWithReadPermissions " + joined(permissions));
        result = loginResult_;
        error = loginError_;
        if (result && loginGrantsAll_) {
            result->grantedPermissions.insert(permissions.begin(), permissions.end());
        }
        if (result && !error && !result->isCancelled && result->token) token_ = result->token;
    }
    if (!handler) return;
    onMain([handler = std::move(handler), result = std::move(result), error = std::move(error)] {
        handler(result, error);
    });
}

void FakeFacebookKit::logOut() {
    std::lock_guard lock(mutex_);
    record("logOut");
    token_.reset();
}

std::optional<FacebookAccessToken> FakeFacebookKit::currentAccessToken() const {
    std::lock_guard lock(mutex_);
    record("currentAccessToken");
    return token_;
}

void FakeFacebookKit::startGraphRequest(FacebookGraphRequest request,
                                        GraphCompletionHandler completionHandler) {
    GraphAnswer answer{nlohmann::json(), "no Graph answer for " + request.graphPath};
    {
        std::lock_guard lock(mutex_);
        record("startGraphRequest " + request.graphPath);
        if (auto it = graphAnswers_.find(request.graphPath); it != graphAnswers_.end()) answer = it->second;
        graphRequests_.push_back(std::move(request));
    }
    if (!completionHandler) return;
    onMain([handler = std::move(completionHandler), answer = std::move(answer)] {
        handler(answer.result, answer.error);
    });
}

std::optional<std::string> FakeFacebookKit::fetchPicture(const std::string& socialID) {
    std::lock_guard lock(mutex_);
    record("fetchPicture " + socialID);
    auto it = pictures_.find(socialID);
    return it == pictures_.end() ? std::nullopt : it->second;
}

void FakeFacebookKit::activateApp() {
    std::lock_guard lock(mutex_);
    record("activateApp");
}

bool FakeFacebookKit::didFinishLaunchingWithOptions(const nlohmann::json&) {
    std::lock_guard lock(mutex_);
    record("didFinishLaunchingWithOptions");
    return launchAnswer_;
}

bool FakeFacebookKit::openURL(const std::string& url, const std::string&, const nlohmann::json&) {
    std::lock_guard lock(mutex_);
    record("openURL " + url);
    return openURLAnswer_;
}

}  // namespace kelpa::platform
