#include "server/actions/ActionRunner.h"

#include <boost/asio/post.hpp>
#include <fmt/format.h>

#include "server/actions/ActionContext.h"
#include "server/actions/Dispatcher.h"
#include "server/actions/Refusal.h"
#include "server/actions/Replies.h"
#include "server/WallClock.h"

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

const std::vector<std::string>* failureKeysOf(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const Refusal& r) {
        return r.failureKeys().empty() ? nullptr : &r.failureKeys();
    } catch (...) {
    }
    return nullptr;
}

// The reply to a failed offloaded stage; a refusal that counts as a failed guess first
// records it in a database stage of its own. (A database stage's refusal is recorded in its
// own transaction, right after the rollback.)
Step afterOffloadFailure(std::exception_ptr error) {
    auto reply = replyFor(error);
    if (const auto* keys = failureKeysOf(error)) {
        return Step::inDb([keys = *keys, reply = std::move(reply)](ActionContext& c) {
            for (const auto& key : keys) FailureThrottle::record(c.store(), key, c.now());
            return Step::reply(reply);
        });
    }
    return Step::reply(std::move(reply));
}

void recordFailures(Store& store, std::exception_ptr error) {
    if (const auto* keys = failureKeysOf(error))
        for (const auto& key : *keys) FailureThrottle::record(store, key, WallClock::now());
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
                next = afterOffloadFailure(std::current_exception());
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
            if (error) return run(call, Step::reply(replyFor(error)));
            run(call, std::move(*result));
        },
        recordFailures,
    });
}

}  // namespace kelpa::server
