#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "server/store/SqlParam.h"
#include "server/store/SqlRow.h"

namespace kelpa::server {

// A connection to one SQL engine. Statements use $1, $2... placeholders on every engine.
// Errors are thrown as std::runtime_error; their text is for the log only, never for a client.
class Database {
public:
    virtual ~Database() = default;

    // "sqlite:PATH" or "postgresql://..." (also "postgres://...").
    static std::unique_ptr<Database> open(const std::string& url);

    virtual std::string_view dialect() const = 0;
    virtual std::vector<SqlRow> query(std::string_view sql,
                                      const std::vector<SqlParam>& params = {}) = 0;
    // One statement that returns no rows; the number of rows it changed.
    virtual std::int64_t execute(std::string_view sql, const std::vector<SqlParam>& params = {}) = 0;
    // Several statements without parameters, for schema changes.
    virtual void execScript(std::string_view sql) = 0;

    virtual void begin() = 0;
    virtual void commit() = 0;
    virtual void rollback() = 0;
    virtual void savepoint() = 0;
    virtual void releaseSavepoint() = 0;
    virtual void rollbackToSavepoint() = 0;
    // Serialises schema migrations between processes sharing one database.
    virtual void lockForMigrations() = 0;

    // Publishes a push inside the current transaction: it leaves only if the transaction
    // commits. Engines that deliver through the database (LISTEN/NOTIFY) hand nothing back
    // from takeCommittedNotifications(); the others hand back what this process must deliver.
    virtual void notify(const std::string& payload) = 0;

    // Engines that can flush commits to disk separately from committing say so here; the
    // DbWorker then commits the next batch while the previous one is being flushed, and
    // answers a batch only after flushCommitted() returned. flushCommitted() must be safe to
    // call from another thread while the connection is in use.
    virtual bool flushesSeparately() const { return false; }
    // Whether the last committed transaction changed anything (a read needs no flush).
    virtual bool lastCommitChanged() const { return true; }
    virtual void flushCommitted() {}
    virtual std::vector<std::string> takeCommittedNotifications() = 0;
};

}  // namespace kelpa::server
