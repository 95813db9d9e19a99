#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "server/actions/Step.h"

namespace kelpa::server {

// The reply envelopes: status replies carry "code" (and "info" only on failure).
class Replies {
public:
    static Step ok() { return Step::reply({{"code", 0}}); }
    static nlohmann::json failure(int code, const std::string& info) {
        return {{"code", code}, {"info", info}};
    }
    static nlohmann::json serviceError() {
        return failure(1, "The service could not complete the request, please try again");
    }
};

}  // namespace kelpa::server
