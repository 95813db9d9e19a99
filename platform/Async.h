#pragma once

#include "platform/DispatchQueue.h"
#include "platform/Environment.h"
#include "platform/MainQueue.h"

#include <memory>
#include <string>
#include <utility>

namespace kelpa::platform {

// The pattern of every call that blocks: `work` runs on a new serial background queue
// labelled with the operation's name; its result is handed to `done` on the main queue.
// `work` must not touch shared records; `done` installs what it built.
template <class Work, class Done>
void runInBackground(std::string label, Work work, Done done) {
    auto mainQueue = Environment::current()->mainQueue;
    DispatchQueue::create(std::move(label))
        ->async([mainQueue, work = std::move(work), done = std::move(done)]() mutable {
            auto result = std::make_shared<decltype(work())>(work());
            mainQueue->post([done = std::move(done), result]() mutable { done(std::move(*result)); });
        });
}

// Runs a task on the main queue (from any thread).
inline void onMain(Task task) { Environment::current()->mainQueue->post(std::move(task)); }

}  // namespace kelpa::platform
