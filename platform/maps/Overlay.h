#pragma once

namespace kelpa::platform {

// A shape laid over a map (a route, for instance); an overlay view draws it.
class Overlay {
public:
    Overlay() = default;
    virtual ~Overlay();
    Overlay(const Overlay&) = delete;
    Overlay& operator=(const Overlay&) = delete;
};

}  // namespace kelpa::platform
