#include "cli/Session.h"

#include "cli/Run.h"
#include "client/model/KelpaDefaults.h"
#include "client/model/User.h"
#include "client/service/API.h"

#include <fmt/format.h>

namespace kelpa::cli {

void Session::withUser(Run& run, std::function<void(std::shared_ptr<User>)> next) {
    if (auto user = User::getCurrentUser()) {
        next(std::move(user));
        return;
    }
    auto userID = KelpaDefaults::getUserID();
    if (!userID) {
        run.fail(kNotSignedIn);
        return;
    }
    API::loginUserWithUserID(*userID, [&run, next = std::move(next)](std::int32_t code, std::shared_ptr<User> user) {
        if (code == 0 && user) {
            next(std::move(user));
        } else if (code == 2) {
            run.fail("the stored user is unknown to the service: run kelpactl login or register");
        } else {
            run.fail(fmt::format("signing in again failed (code {})", code));
        }
    });
}

}  // namespace kelpa::cli
