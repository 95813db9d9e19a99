#pragma once

#include <stdexcept>
#include <string>

namespace kelpa::server {

// A request the service declines: the client gets code 1 with this text, and the action's
// changes are rolled back. Thrown only inside the action layer, never across it.
class Refusal : public std::runtime_error {
public:
    explicit Refusal(const std::string& info, int code = 1) : std::runtime_error(info), code_(code) {}
    int code() const { return code_; }

private:
    int code_;
};

}  // namespace kelpa::server
