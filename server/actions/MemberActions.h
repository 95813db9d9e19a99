#pragma once

namespace kelpa::server {

class Dispatcher;

// Membership inside a group: join, leave, invite, remove, list (305-309).
class MemberActions {
public:
    static void install(Dispatcher& dispatcher);
};

}  // namespace kelpa::server
