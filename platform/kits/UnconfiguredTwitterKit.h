#pragma once

#include "platform/kits/TwitterKit.h"

namespace kelpa::platform {

// The Twitter kit of an installation without Twitter consumer keys: login and user lookups
// fail with "Twitter is not configured" and nothing is downloaded. It never touches the
// network.
class UnconfiguredTwitterKit : public TwitterKit {
public:
    static constexpr const char* errorText = "Twitter is not configured";

    void start() override;
    void logInWithCompletion(LoginCompletion completion) override;
    void logOut() override;
    void loadUserWithID(const std::string& userID, LoadUserCompletion completion) override;
    std::optional<std::string> downloadImage(const std::string& url) override;
};

}  // namespace kelpa::platform
