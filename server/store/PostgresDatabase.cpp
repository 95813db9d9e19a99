#include "server/store/PostgresDatabase.h"

#include <libpq-fe.h>

#include <memory>
#include <stdexcept>

#include <fmt/format.h>

namespace kelpa::server {
namespace {

void ignoreNotice(void*, const char*) {}

std::string errorText(PGresult* result, pg_conn* conn) {
    const char* message = result ? PQresultErrorMessage(result) : PQerrorMessage(conn);
    return message ? message : "unknown";
}

}  // namespace

void PostgresDatabase::ResultDeleter::operator()(pg_result* r) const { PQclear(r); }

PostgresDatabase::PostgresDatabase(const std::string& url) {
    conn_ = PQconnectdb(url.c_str());
    if (PQstatus(conn_) != CONNECTION_OK) {
        const std::string message = PQerrorMessage(conn_);
        PQfinish(conn_);
        throw std::runtime_error("postgresql connect: " + message);
    }
    PQsetNoticeProcessor(conn_, ignoreNotice, nullptr);
    execScript("SET synchronous_commit = on; SET client_min_messages = warning");
}

PostgresDatabase::~PostgresDatabase() { PQfinish(conn_); }

void PostgresDatabase::ensureConnected() {
    if (PQstatus(conn_) == CONNECTION_OK) return;
    PQreset(conn_);
    prepared_.clear();
    if (PQstatus(conn_) != CONNECTION_OK)
        throw std::runtime_error("postgresql reconnect: " + std::string(PQerrorMessage(conn_)));
    execScript("SET synchronous_commit = on; SET client_min_messages = warning");
}

PostgresDatabase::Result PostgresDatabase::run(std::string_view sql, const std::vector<SqlParam>& params) {
    ensureConnected();
    auto it = prepared_.find(sql);
    if (it == prepared_.end()) {
        std::string name = fmt::format("k{}", prepared_.size());
        const std::string text(sql);
        Result r(PQprepare(conn_, name.c_str(), text.c_str(), static_cast<int>(params.size()),
                           nullptr));
        if (!r || PQresultStatus(r.get()) != PGRES_COMMAND_OK)
            throw std::runtime_error("postgresql prepare: " + errorText(r.get(), conn_));
        it = prepared_.emplace(text, std::move(name)).first;
    }
    std::vector<std::string> texts(params.size());
    std::vector<const char*> values(params.size(), nullptr);
    for (std::size_t i = 0; i < params.size(); ++i) {
        if (std::holds_alternative<std::nullptr_t>(params[i])) continue;
        if (auto* n = std::get_if<std::int64_t>(&params[i]))
            texts[i] = std::to_string(*n);
        else if (auto* d = std::get_if<double>(&params[i]))
            texts[i] = fmt::format("{}", *d);
        else
            texts[i] = std::get<std::string>(params[i]);
        values[i] = texts[i].c_str();
    }
    Result r(PQexecPrepared(conn_, it->second.c_str(), static_cast<int>(params.size()),
                            values.data(), nullptr, nullptr, 0));
    const auto status = r ? PQresultStatus(r.get()) : PGRES_FATAL_ERROR;
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK)
        throw std::runtime_error("postgresql query: " + errorText(r.get(), conn_));
    return r;
}

std::vector<SqlRow> PostgresDatabase::query(std::string_view sql, const std::vector<SqlParam>& params) {
    const Result r = run(sql, params);
    std::vector<SqlRow> rows;
    const int n = PQntuples(r.get()), m = PQnfields(r.get());
    rows.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        std::vector<std::optional<std::string>> columns;
        columns.reserve(static_cast<std::size_t>(m));
        for (int c = 0; c < m; ++c) {
            if (PQgetisnull(r.get(), i, c))
                columns.emplace_back();
            else
                columns.emplace_back(std::string(PQgetvalue(r.get(), i, c),
                                                 static_cast<std::size_t>(PQgetlength(r.get(), i, c))));
        }
        rows.emplace_back(std::move(columns));
    }
    return rows;
}

std::int64_t PostgresDatabase::execute(std::string_view sql, const std::vector<SqlParam>& params) {
    const Result r = run(sql, params);
    const char* changed = PQcmdTuples(r.get());
    return changed && *changed ? std::stoll(changed) : 0;
}

void PostgresDatabase::execScript(std::string_view sql) {
    const std::string text(sql);
    Result r(PQexec(conn_, text.c_str()));
    const auto status = r ? PQresultStatus(r.get()) : PGRES_FATAL_ERROR;
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
        throw std::runtime_error("postgresql exec: " + errorText(r.get(), conn_));
}

void PostgresDatabase::rollback() {
    if (PQstatus(conn_) != CONNECTION_OK) return;
    if (PQtransactionStatus(conn_) != PQTRANS_IDLE) execScript("ROLLBACK");
}

void PostgresDatabase::rollbackToSavepoint() {
    execScript("ROLLBACK TO SAVEPOINT job");
    execScript("RELEASE SAVEPOINT job");
}

void PostgresDatabase::lockForMigrations() { query("SELECT pg_advisory_xact_lock(7411852)", {}); }

void PostgresDatabase::notify(const std::string& payload) {
    query("SELECT pg_notify($1, $2)", {channel_, payload});
}

}  // namespace kelpa::server
