#include "client/model/ModelRequest.h"

#include "client/model/User.h"
#include "platform/Async.h"

namespace kelpa {

std::optional<std::string> ModelRequest::currentUserID() {
    auto current = User::getCurrentUser();
    return current ? current->userID : std::nullopt;
}

void ModelRequest::status(const char* label, Parameters parameters, std::function<void()> onSuccess,
                          StatusHandler handler) {
    auto userID = currentUserID();
    platform::runInBackground(
        label,
        [parameters = std::move(parameters), userID] {
            return Reply::status(API::requestWithDictionary(parameters, userID));
        },
        [onSuccess = std::move(onSuccess), handler = std::move(handler)](StatusResult result) {
            if (!result.info && onSuccess) onSuccess();
            if (handler) handler(result.code, result.info);
        });
}

}  // namespace kelpa
