#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace kelpa::server {

// A request the service declines: the client gets code 1 with this text, and the action's
// changes are rolled back. A refusal that counts as a failed guess names the failure keys to
// record once the rollback is done, in the same transaction, so the next request's check
// already counts it. Thrown only inside the action layer, never across it.
class Refusal : public std::runtime_error {
public:
    explicit Refusal(const std::string& info, int code = 1, std::vector<std::string> failureKeys = {})
        : std::runtime_error(info), code_(code), failureKeys_(std::move(failureKeys)) {}
    int code() const { return code_; }
    const std::vector<std::string>& failureKeys() const { return failureKeys_; }

private:
    int code_;
    std::vector<std::string> failureKeys_;
};

}  // namespace kelpa::server
