#pragma once

namespace kelpa::server {

class Dispatcher;

// Groups as a whole: create, list, load, leave, delete, quick join, join requests (300-303, 311-313).
class GroupActions {
public:
    static void install(Dispatcher& dispatcher);
};

}  // namespace kelpa::server
