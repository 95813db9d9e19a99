#pragma once

#include "LoopbackHttpServer.h"

#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace kelpa::testing {

// A Nominatim-compatible geocoding service on 127.0.0.1: each known address is one place,
// any other address finds nothing ("[]"). Records the addresses it was asked for, in order.
class FakeNominatim {
public:
    FakeNominatim();

    // Makes `address` (as typed) findable at that position.
    void place(const std::string& address, double latitude, double longitude);

    std::string url() const { return server_.url(); }
    std::vector<std::string> queries() const;

    // The reply for one raw request.
    LoopbackHttpServer::Reply answer(const std::string& rawRequest);

private:
    mutable std::mutex mutex_;
    std::map<std::string, std::pair<double, double>> places_;
    std::vector<std::string> queries_;
    // Last, so the server stops before what it reads goes.
    LoopbackHttpServer server_;
};

}  // namespace kelpa::testing
