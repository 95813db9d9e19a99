#pragma once

namespace kelpa::server {

class Dispatcher;

// Profile picture upload and delete (108, 109).
class ProfileActions {
public:
    static void install(Dispatcher& dispatcher);
};

}  // namespace kelpa::server
