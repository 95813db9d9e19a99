#pragma once

namespace kelpa::server {

class Dispatcher;

// Positions and waypoints (200, 201, 400, 401).
class PositionActions {
public:
    static void install(Dispatcher& dispatcher);
};

}  // namespace kelpa::server
