#pragma once

#include <stdexcept>
#include <string>

namespace kelpa::server {

// A request the service declines: the client gets code 1 with this text, and the action's
// changes are rolled back. A refusal that counts as a failed guess names the failure key
// to record once the rollback is done. Thrown only inside the action layer, never across it.
class Refusal : public std::runtime_error {
public:
    explicit Refusal(const std::string& info, int code = 1, std::string failureKey = {})
        : std::runtime_error(info), code_(code), failureKey_(std::move(failureKey)) {}
    int code() const { return code_; }
    const std::string& failureKey() const { return failureKey_; }

private:
    int code_;
    std::string failureKey_;
};

}  // namespace kelpa::server
