#include "tests/server/TestDatabase.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <random>

#include <fmt/format.h>

#include "server/store/Database.h"

namespace kelpa::server::testing {
namespace {

std::string uniqueName() {
    static std::atomic<int> counter{0};
    std::random_device random;
    return fmt::format("{}_{}_{:08x}", ::getpid(), counter++, random());
}

const char* postgresUrl() { return std::getenv("KELPA_TEST_POSTGRES_URL"); }

}  // namespace

bool TestDatabase::available(const std::string& engine) {
    return engine == "sqlite" || (postgresUrl() && *postgresUrl());
}

TestDatabase::TestDatabase(const std::string& engine) : engine_(engine) {
    directory_ = (std::filesystem::temp_directory_path() / ("kelpa-test-" + uniqueName())).string();
    std::filesystem::create_directories(directory_);
    if (engine == "sqlite") {
        url_ = "sqlite:" + directory_ + "/kelpa.db";
        return;
    }
    schema_ = "kt_" + uniqueName();
    const std::string base = postgresUrl();
    Database::open(base)->execScript("CREATE SCHEMA " + schema_);
    url_ = base + (base.find('?') == std::string::npos ? "?" : "&") +
           "options=-csearch_path%3D" + schema_;
}

TestDatabase::~TestDatabase() {
    if (!schema_.empty()) {
        try {
            Database::open(postgresUrl())->execScript("DROP SCHEMA " + schema_ + " CASCADE");
        } catch (const std::exception&) {
        }
    }
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
}

std::string TestDatabase::snapshot() const {
    auto db = Database::open(url_);
    std::string out;
    for (const char* table : {"users", "devices", "bindings", "contacts", "travel_groups", "members",
                              "waypoints", "messages", "sms_log", "phone_codes"}) {
        out += fmt::format("[{}]\n", table);
        for (const auto& row : db->query(fmt::format("SELECT * FROM {} ORDER BY 1, 2", table), {})) {
            for (std::size_t i = 0; i < row.size(); ++i) out += (row.isNull(i) ? "NULL" : row.text(i)) + '|';
            out += '\n';
        }
    }
    return out;
}

void TestDatabase::execute(const std::string& sql) const { Database::open(url_)->execScript(sql); }

std::string TestDatabase::value(const std::string& sql) const {
    const auto rows = Database::open(url_)->query(sql, {});
    return rows.at(0).isNull(0) ? "NULL" : rows.at(0).text(0);
}

}  // namespace kelpa::server::testing
