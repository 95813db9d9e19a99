#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "server/store/Database.h"
#include "server/store/SqlStore.h"

namespace kelpa::server {

// The one thread that talks to the database. Requests that arrive while a commit is in
// flight queue up and go into the next transaction together (group commit): one durable
// commit answers the whole batch. Each task runs inside a savepoint, so a refused task
// undoes only its own changes. A task's completion runs once the commit is on disk: on
// engines that flush separately, a flusher thread syncs batch N while batch N+1 executes.
class DbWorker {
public:
    struct Task {
        std::function<void(Store&)> run;
        // error: what run threw (its changes were undone); committed: false when the
        // batch could not be committed, in which case nothing of it persisted.
        std::function<void(std::exception_ptr error, bool committed)> done;
        // Optional: runs in the same transaction right after run's changes were undone
        // (what a refusal must still record); its own failure is undone and ignored.
        std::function<void(Store&, std::exception_ptr error)> undone = nullptr;
    };
    using NotificationSink = std::function<void(std::vector<std::string>)>;

    DbWorker(std::unique_ptr<Database> db, NotificationSink sink, std::size_t maxBatch = 256);
    ~DbWorker();
    DbWorker(const DbWorker&) = delete;
    DbWorker& operator=(const DbWorker&) = delete;

    void submit(Task task);
    // Finishes the queued tasks, then ends the thread.
    void stop();

private:
    struct Finished {
        std::vector<Task> tasks;
        std::vector<std::exception_ptr> errors;
        bool committed = false;
        bool changed = false;
        std::vector<std::string> notifications;
    };
    void loop();
    void runBatch(std::vector<Task> batch);
    void afterUndo(Task& task, std::exception_ptr error);
    void flushLoop();
    void finish(Finished& finished);

    std::unique_ptr<Database> db_;
    SqlStore store_;
    NotificationSink sink_;
    std::size_t maxBatch_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Task> queue_;
    bool stopping_ = false;
    // Batches committed but not yet on disk, for engines that flush separately.
    std::mutex flushMutex_;
    std::condition_variable flushWake_;
    std::deque<Finished> flushQueue_;
    bool flushStopping_ = false;
    std::atomic<int> unflushed_{0};  // batches handed to the flusher and not yet answered
    std::thread thread_;
    std::thread flusher_;
};

}  // namespace kelpa::server
