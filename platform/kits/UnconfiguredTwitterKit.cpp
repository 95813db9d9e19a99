#include "platform/kits/UnconfiguredTwitterKit.h"

#include "platform/Async.h"

namespace kelpa::platform {

void UnconfiguredTwitterKit::start() {}

void UnconfiguredTwitterKit::logInWithCompletion(LoginCompletion completion) {
    if (!completion) return;
    onMain([completion = std::move(completion)] { completion(std::nullopt, std::string(errorText)); });
}

void UnconfiguredTwitterKit::logOut() {}

void UnconfiguredTwitterKit::loadUserWithID(const std::string&, LoadUserCompletion completion) {
    if (!completion) return;
    onMain([completion = std::move(completion)] { completion(std::nullopt, std::string(errorText)); });
}

std::optional<std::string> UnconfiguredTwitterKit::downloadImage(const std::string&) {
    return std::nullopt;
}

}  // namespace kelpa::platform
