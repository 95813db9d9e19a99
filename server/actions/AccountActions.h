#pragma once

namespace kelpa::server {

class Dispatcher;

// Registration and sign-in by e-mail or social account, and the push token (100-102, 104-106).
class AccountActions {
public:
    static void install(Dispatcher& dispatcher);
};

}  // namespace kelpa::server
