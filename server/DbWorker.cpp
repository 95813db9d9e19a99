#include "server/DbWorker.h"

#include <fmt/format.h>

namespace kelpa::server {

DbWorker::DbWorker(std::unique_ptr<Database> db, NotificationSink sink, std::size_t maxBatch)
    : db_(std::move(db)), store_(*db_), sink_(std::move(sink)), maxBatch_(maxBatch),
      thread_([this] { loop(); }) {}

DbWorker::~DbWorker() { stop(); }

void DbWorker::submit(Task task) {
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(std::move(task));
    }
    wake_.notify_one();
}

void DbWorker::stop() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    if (thread_.joinable()) thread_.join();
}

void DbWorker::loop() {
    std::vector<Task> batch;
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (queue_.empty()) return;
            while (!queue_.empty() && batch.size() < maxBatch_) {
                batch.push_back(std::move(queue_.front()));
                queue_.pop_front();
            }
        }
        runBatch(batch);
        batch.clear();
    }
}

void DbWorker::runBatch(std::vector<Task>& batch) {
    std::vector<std::exception_ptr> errors(batch.size());
    bool committed = false;
    try {
        db_->begin();
        for (std::size_t i = 0; i < batch.size(); ++i) {
            db_->savepoint();
            try {
                batch[i].run(store_);
                db_->releaseSavepoint();
            } catch (...) {
                errors[i] = std::current_exception();
                db_->rollbackToSavepoint();
            }
        }
        db_->commit();
        committed = true;
    } catch (const std::exception& e) {
        fmt::print(stderr, "database batch failed: {}\n", e.what());
        try {
            db_->rollback();
        } catch (const std::exception& again) {
            fmt::print(stderr, "database rollback failed: {}\n", again.what());
        }
    }
    if (auto notes = db_->takeCommittedNotifications(); !notes.empty() && sink_) sink_(std::move(notes));
    for (std::size_t i = 0; i < batch.size(); ++i) batch[i].done(errors[i], committed);
}

}  // namespace kelpa::server
