#pragma once

#include <atomic>

#include <boost/asio/ssl/context.hpp>
#include <boost/asio/thread_pool.hpp>

#include "server/http/AccessLog.h"
#include "server/actions/ActionRunner.h"
#include "server/store/DbWorker.h"
#include "server/push/PushHub.h"
#include "server/Services.h"

namespace kelpa::server {

// What every connection needs from the server; owned by the Server, outlives connections.
struct HttpContext {
    ActionRunner& runner;
    DbWorker& worker;
    Services& services;
    PushHub& hub;
    AccessLog& log;
    boost::asio::thread_pool& side;
    boost::asio::ssl::context* tls;  // null: plain HTTP
    std::atomic<int> inFlight{0};
};

}  // namespace kelpa::server
