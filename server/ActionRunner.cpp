#include "server/ActionRunner.h"

#include <boost/asio/post.hpp>
#include <fmt/format.h>

#include "server/ActionContext.h"
#include "server/Dispatcher.h"
#include "server/Refusal.h"
#include "server/Replies.h"

namespace kelpa::server {
namespace {

nlohmann::json replyFor(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const Refusal& r) {
        return Replies::failure(r.code(), r.what());
    } catch (const std::exception& e) {
        fmt::print(stderr, "action failed: {}\n", e.what());
    } catch (...) {
        fmt::print(stderr, "action failed\n");
    }
    return Replies::serviceError();
}

// The reply to a failed stage; a refusal that counts as a failed guess first records it,
// in a transaction of its own (a database stage's own was rolled back).
Step afterFailure(std::exception_ptr error) {
    auto reply = replyFor(error);
    try {
        std::rethrow_exception(error);
    } catch (const Refusal& r) {
        if (!r.failureKey().empty()) {
            return Step::inDb([key = r.failureKey(), reply = std::move(reply)](ActionContext& c) {
                FailureThrottle::record(c.store(), key, c.now());
                return Step::reply(reply);
            });
        }
    } catch (...) {
    }
    return Step::reply(std::move(reply));
}

}  // namespace

ActionRunner::ActionRunner(DbWorker& worker, Services& services, boost::asio::thread_pool& side)
    : worker_(worker), services_(services), side_(side) {}

void ActionRunner::start(std::shared_ptr<const Request> request, ReplyHandler onReply) {
    const auto* first = Dispatcher::shared().find(request->action());
    if (!first) return onReply(Replies::failure(1, "Unknown action"));
    auto call = std::make_shared<Call>();
    call->deviceKey = services_.deviceKeys.keyFor(request->deviceId());
    call->request = std::move(request);
    call->onReply = std::move(onReply);
    run(std::move(call), Step::inDb(*first));
}

void ActionRunner::run(std::shared_ptr<Call> call, Step step) {
    if (step.replyBody()) return call->onReply(*step.replyBody());
    if (step.offloaded()) {
        boost::asio::post(side_, [this, call, stage = step.offloaded()] {
            Step next;
            try {
                next = stage();
            } catch (...) {
                next = afterFailure(std::current_exception());
            }
            run(call, std::move(next));
        });
        return;
    }
    auto result = std::make_shared<Step>();
    worker_.submit({
        [this, call, result, stage = step.dbStage()](Store& store) {
            ActionContext context(store, services_, *call->request, call->deviceKey);
            *result = stage(context);
        },
        [this, call, result](std::exception_ptr error, bool committed) {
            if (!committed) return call->onReply(Replies::serviceError());
            if (error) return run(call, afterFailure(error));
            run(call, std::move(*result));
        },
    });
}

}  // namespace kelpa::server
