#include "server/store/SqliteDatabase.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <stdexcept>
#include <utility>

#include <fmt/format.h>

namespace kelpa::server {
namespace {

// Statements are written with $N placeholders for PostgreSQL; SQLite's ?N binds the same index.
std::string toSqlitePlaceholders(std::string_view sql) {
    std::string out(sql);
    for (std::size_t i = 0; i + 1 < out.size(); ++i)
        if (out[i] == '$' && out[i + 1] >= '0' && out[i + 1] <= '9') out[i] = '?';
    return out;
}

}  // namespace

SqliteDatabase::SqliteDatabase(const std::string& path) {
    if (sqlite3_open_v2(path.c_str(), &db_,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK) {
        const std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close(db_);
        throw std::runtime_error(fmt::format("cannot open {}: {}", path, message));
    }
    sqlite3_busy_timeout(db_, 10000);
    // Commits write the WAL without waiting for the disk; flushCommitted() then makes them
    // durable with one fdatasync of the WAL, which the DbWorker runs beside the next batch.
    // Checkpoints still sync the WAL and the database file themselves.
    execScript(
        "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA foreign_keys=ON;"
        "PRAGMA temp_store=MEMORY;");
    walPath_ = path + "-wal";
}

void SqliteDatabase::flushCommitted() {
    int fd = walFd_.load();
    if (fd < 0) {
        // The WAL file exists from the first commit on and keeps its inode while the
        // connection is open; any descriptor of it flushes its pages.
        fd = ::open(walPath_.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) throw std::runtime_error("cannot open " + walPath_);
        int expected = -1;
        if (!walFd_.compare_exchange_strong(expected, fd)) {
            ::close(fd);
            fd = expected;
        }
    }
    if (::fdatasync(fd) != 0) throw std::runtime_error("fdatasync of the WAL failed");
}

SqliteDatabase::~SqliteDatabase() {
    if (walFd_ >= 0) ::close(walFd_);
    for (auto& [_, stmt] : statements_) sqlite3_finalize(stmt);
    sqlite3_close(db_);
}

void SqliteDatabase::fail(const char* what) const {
    throw std::runtime_error(fmt::format("sqlite {}: {}", what, sqlite3_errmsg(db_)));
}

sqlite3_stmt* SqliteDatabase::prepare(std::string_view sql) {
    if (auto it = statements_.find(sql); it != statements_.end()) return it->second;
    const std::string text = toSqlitePlaceholders(sql);
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v3(db_, text.c_str(), static_cast<int>(text.size()),
                           SQLITE_PREPARE_PERSISTENT, &stmt, nullptr) != SQLITE_OK)
        fail("prepare");
    statements_.emplace(std::string(sql), stmt);
    return stmt;
}

void SqliteDatabase::run(std::string_view sql, const std::vector<SqlParam>& params, std::vector<SqlRow>* rows) {
    sqlite3_stmt* stmt = prepare(sql);
    struct Reset {
        sqlite3_stmt* s;
        ~Reset() {
            sqlite3_reset(s);
            sqlite3_clear_bindings(s);
        }
    } reset{stmt};
    for (std::size_t i = 0; i < params.size(); ++i) {
        const int index = static_cast<int>(i + 1);
        int rc = SQLITE_OK;
        if (std::holds_alternative<std::nullptr_t>(params[i]))
            rc = sqlite3_bind_null(stmt, index);
        else if (auto* n = std::get_if<std::int64_t>(&params[i]))
            rc = sqlite3_bind_int64(stmt, index, *n);
        else if (auto* d = std::get_if<double>(&params[i]))
            rc = sqlite3_bind_double(stmt, index, *d);
        else {
            const auto& s = std::get<std::string>(params[i]);
            rc = sqlite3_bind_text(stmt, index, s.data(), static_cast<int>(s.size()),
                                   SQLITE_TRANSIENT);
        }
        if (rc != SQLITE_OK) fail("bind");
    }
    for (;;) {
        const int rc = sqlite3_step(stmt);
        if (rc == SQLITE_DONE) break;
        if (rc != SQLITE_ROW) fail("step");
        if (!rows) continue;
        const int n = sqlite3_column_count(stmt);
        std::vector<std::optional<std::string>> columns;
        columns.reserve(static_cast<std::size_t>(n));
        for (int c = 0; c < n; ++c) {
            if (sqlite3_column_type(stmt, c) == SQLITE_NULL) {
                columns.emplace_back();
            } else if (sqlite3_column_type(stmt, c) == SQLITE_FLOAT) {
                // Full precision: SQLite's own text form keeps only 15 digits.
                columns.emplace_back(fmt::format("{}", sqlite3_column_double(stmt, c)));
            } else {
                const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
                columns.emplace_back(std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(stmt, c))));
            }
        }
        rows->emplace_back(std::move(columns));
    }
}

std::vector<SqlRow> SqliteDatabase::query(std::string_view sql, const std::vector<SqlParam>& params) {
    std::vector<SqlRow> rows;
    run(sql, params, &rows);
    return rows;
}

std::int64_t SqliteDatabase::execute(std::string_view sql, const std::vector<SqlParam>& params) {
    run(sql, params, nullptr);
    return sqlite3_changes64(db_);
}

void SqliteDatabase::execScript(std::string_view sql) {
    const std::string text(sql);
    char* error = nullptr;
    if (sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string message = error ? error : "unknown";
        sqlite3_free(error);
        throw std::runtime_error("sqlite exec: " + message);
    }
}

void SqliteDatabase::begin() {
    // IMMEDIATE takes the write lock up front, so a batch never fails half-way on a lock upgrade.
    run("BEGIN IMMEDIATE", {}, nullptr);
    changesAtBegin_ = sqlite3_total_changes64(db_);
    pending_.clear();
    savepointMarks_.clear();
}

void SqliteDatabase::commit() {
    lastCommitChanged_ = sqlite3_total_changes64(db_) != changesAtBegin_;
    run("COMMIT", {}, nullptr);
    committed_.insert(committed_.end(), pending_.begin(), pending_.end());
    pending_.clear();
}

void SqliteDatabase::rollback() {
    if (sqlite3_get_autocommit(db_) == 0) execScript("ROLLBACK");
    pending_.clear();
    savepointMarks_.clear();
}

void SqliteDatabase::savepoint() {
    run("SAVEPOINT job", {}, nullptr);
    savepointMarks_.push_back(pending_.size());
}

void SqliteDatabase::releaseSavepoint() {
    run("RELEASE SAVEPOINT job", {}, nullptr);
    savepointMarks_.pop_back();
}

void SqliteDatabase::rollbackToSavepoint() {
    run("ROLLBACK TO SAVEPOINT job", {}, nullptr);
    run("RELEASE SAVEPOINT job", {}, nullptr);
    pending_.resize(savepointMarks_.back());
    savepointMarks_.pop_back();
}

void SqliteDatabase::notify(const std::string& payload) { pending_.push_back(payload); }

std::vector<std::string> SqliteDatabase::takeCommittedNotifications() {
    return std::exchange(committed_, {});
}

}  // namespace kelpa::server
