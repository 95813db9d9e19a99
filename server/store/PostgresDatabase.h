#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

#include "server/store/Database.h"
#include "server/store/TextHash.h"

struct pg_conn;
struct pg_result;

namespace kelpa::server {

// A libpq connection with synchronous_commit=on, so a commit is durable when it returns.
// Pushes go out with pg_notify inside the transaction; every server process LISTENs.
class PostgresDatabase : public Database {
public:

    explicit PostgresDatabase(const std::string& url);
    ~PostgresDatabase() override;
    PostgresDatabase(const PostgresDatabase&) = delete;
    PostgresDatabase& operator=(const PostgresDatabase&) = delete;

    std::string_view dialect() const override { return "postgresql"; }
    std::vector<SqlRow> query(std::string_view sql, const std::vector<SqlParam>& params) override;
    std::int64_t execute(std::string_view sql, const std::vector<SqlParam>& params) override;
    void execScript(std::string_view sql) override;
    void begin() override { execScript("BEGIN"); }
    void commit() override { execScript("COMMIT"); }
    void rollback() override;
    void savepoint() override { execScript("SAVEPOINT job"); }
    void releaseSavepoint() override { execScript("RELEASE SAVEPOINT job"); }
    void rollbackToSavepoint() override;
    void lockForMigrations() override;
    void notify(const std::string& payload) override;
    std::vector<std::string> takeCommittedNotifications() override { return {}; }

    // Pushes of one database go out on a channel of its own, so that servers of different
    // databases on one PostgreSQL instance never see each other's pushes.
    void setChannel(std::string channel) { channel_ = std::move(channel); }

private:
    struct ResultDeleter {
        void operator()(pg_result* r) const;
    };
    using Result = std::unique_ptr<pg_result, ResultDeleter>;

    void ensureConnected();
    // Prepares the statement once per connection and runs it.
    Result run(std::string_view sql, const std::vector<SqlParam>& params);

    pg_conn* conn_ = nullptr;
    std::string channel_ = "kelpa_push";
    std::unordered_map<std::string, std::string, TextHash, std::equal_to<>> prepared_;
};

}  // namespace kelpa::server
