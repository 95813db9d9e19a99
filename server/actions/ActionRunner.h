#pragma once

#include <functional>
#include <memory>

#include <boost/asio/thread_pool.hpp>
#include <nlohmann/json.hpp>

#include "server/store/DbWorker.h"
#include "server/http/Request.h"
#include "server/Services.h"
#include "server/actions/Step.h"

namespace kelpa::server {

// Drives one action through its stages: database stages on the DbWorker, offloaded stages
// on the side pool, until a reply. Refusals become code-1 (or code-2) replies; any other
// failure becomes a generic reply, with the detail only in the server's log.
class ActionRunner {
public:
    using ReplyHandler = std::function<void(nlohmann::json)>;

    ActionRunner(DbWorker& worker, Services& services, boost::asio::thread_pool& side);

    // onReply is called exactly once, on a worker or pool thread.
    void start(std::shared_ptr<const Request> request, ReplyHandler onReply);

private:
    struct Call {
        std::shared_ptr<const Request> request;
        std::string deviceKey;
        ReplyHandler onReply;
    };
    void run(std::shared_ptr<Call> call, Step step);

    DbWorker& worker_;
    Services& services_;
    boost::asio::thread_pool& side_;
};

}  // namespace kelpa::server
