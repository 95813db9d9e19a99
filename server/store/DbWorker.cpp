#include "server/store/DbWorker.h"

#include <algorithm>

#include <fmt/format.h>

namespace kelpa::server {

DbWorker::DbWorker(std::unique_ptr<Database> db, NotificationSink sink, std::size_t maxBatch)
    : db_(std::move(db)), store_(*db_), sink_(std::move(sink)), maxBatch_(maxBatch),
      thread_([this] { loop(); }) {
    if (db_->flushesSeparately()) flusher_ = std::thread([this] { flushLoop(); });
}

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
    {
        std::lock_guard lock(flushMutex_);
        flushStopping_ = true;
    }
    flushWake_.notify_one();
    if (flusher_.joinable()) flusher_.join();
}

void DbWorker::loop() {
    for (;;) {
        std::vector<Task> batch;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (queue_.empty()) return;
            while (!queue_.empty() && batch.size() < maxBatch_) {
                batch.push_back(std::move(queue_.front()));
                queue_.pop_front();
            }
        }
        runBatch(std::move(batch));
    }
}

void DbWorker::runBatch(std::vector<Task> batch) {
    Finished finished;
    finished.errors.resize(batch.size());
    try {
        db_->begin();
        for (std::size_t i = 0; i < batch.size(); ++i) {
            db_->savepoint();
            try {
                batch[i].run(store_);
                db_->releaseSavepoint();
            } catch (...) {
                finished.errors[i] = std::current_exception();
                db_->rollbackToSavepoint();
                if (batch[i].undone) afterUndo(batch[i], finished.errors[i]);
            }
        }
        db_->commit();
        finished.committed = true;
        finished.changed = db_->lastCommitChanged();
    } catch (const std::exception& e) {
        fmt::print(stderr, "database batch failed: {}\n", e.what());
        try {
            db_->rollback();
        } catch (const std::exception& again) {
            fmt::print(stderr, "database rollback failed: {}\n", again.what());
        }
    }
    finished.notifications = db_->takeCommittedNotifications();
    finished.tasks = std::move(batch);
    // A batch that only read goes straight out, unless earlier batches still wait for their
    // flush: then it waits behind them, so nothing it read is shown before it is on disk.
    if (finished.committed && db_->flushesSeparately() && (finished.changed || unflushed_ > 0)) {
        ++unflushed_;
        {
            std::lock_guard lock(flushMutex_);
            flushQueue_.push_back(std::move(finished));
        }
        flushWake_.notify_one();
        return;
    }
    finish(finished);
}

void DbWorker::afterUndo(Task& task, std::exception_ptr error) {
    db_->savepoint();
    try {
        task.undone(store_, error);
        db_->releaseSavepoint();
    } catch (const std::exception& e) {
        fmt::print(stderr, "recording after a refusal failed: {}\n", e.what());
        db_->rollbackToSavepoint();
    }
}

void DbWorker::flushLoop() {
    for (;;) {
        std::deque<Finished> ready;
        {
            std::unique_lock lock(flushMutex_);
            flushWake_.wait(lock, [this] { return flushStopping_ || !flushQueue_.empty(); });
            if (flushQueue_.empty()) return;
            ready.swap(flushQueue_);
        }
        // One flush covers every batch committed before it started.
        try {
            if (std::any_of(ready.begin(), ready.end(), [](const Finished& f) { return f.changed; }))
                db_->flushCommitted();
        } catch (const std::exception& e) {
            fmt::print(stderr, "database flush failed: {}\n", e.what());
            for (auto& f : ready) f.committed = false;
        }
        for (auto& f : ready) {
            finish(f);
            --unflushed_;
        }
    }
}

void DbWorker::finish(Finished& f) {
    if (f.committed && !f.notifications.empty() && sink_) sink_(std::move(f.notifications));
    for (std::size_t i = 0; i < f.tasks.size(); ++i) f.tasks[i].done(f.errors[i], f.committed);
}

}  // namespace kelpa::server
