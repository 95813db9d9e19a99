#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <unordered_map>

#include "server/store/Database.h"
#include "server/store/TextHash.h"

struct sqlite3;
struct sqlite3_stmt;

namespace kelpa::server {

// One SQLite file in WAL mode: a commit is written to the WAL at once and reaches the disk with
// the next flushCommitted(). Prepared statements are cached per statement text.
class SqliteDatabase : public Database {
public:
    explicit SqliteDatabase(const std::string& path);
    ~SqliteDatabase() override;
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    std::string_view dialect() const override { return "sqlite"; }
    std::vector<SqlRow> query(std::string_view sql, const std::vector<SqlParam>& params) override;
    std::int64_t execute(std::string_view sql, const std::vector<SqlParam>& params) override;
    void execScript(std::string_view sql) override;
    void begin() override;
    void commit() override;
    void rollback() override;
    void savepoint() override;
    void releaseSavepoint() override;
    void rollbackToSavepoint() override;
    void lockForMigrations() override {}
    void notify(const std::string& payload) override;
    std::vector<std::string> takeCommittedNotifications() override;
    bool flushesSeparately() const override { return true; }
    bool lastCommitChanged() const override { return lastCommitChanged_; }
    void flushCommitted() override;

private:
    sqlite3_stmt* prepare(std::string_view sql);
    // Runs one statement; rows (when given) receive what it returns.
    void run(std::string_view sql, const std::vector<SqlParam>& params, std::vector<SqlRow>* rows);
    [[noreturn]] void fail(const char* what) const;

    sqlite3* db_ = nullptr;
    std::string walPath_;
    long long changesAtBegin_ = 0;
    bool lastCommitChanged_ = false;
    std::atomic<int> walFd_{-1};
    std::unordered_map<std::string, sqlite3_stmt*, TextHash, std::equal_to<>> statements_;
    std::vector<std::string> pending_;
    std::vector<std::size_t> savepointMarks_;
    std::vector<std::string> committed_;
};

}  // namespace kelpa::server
