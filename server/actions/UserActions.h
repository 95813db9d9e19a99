#pragma once

namespace kelpa::server {

class Dispatcher;

// The signed-in user's own record and phone verification, and other users (103, 107, 110-114).
class UserActions {
public:
    static void install(Dispatcher& dispatcher);
};

}  // namespace kelpa::server
