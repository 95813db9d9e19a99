#pragma once

#include <string>

namespace kelpa::server::testing {

// A fresh, empty database for one test, on the engine the test is parameterised with:
// "sqlite" (a file in a fresh directory) or "postgresql" (a schema of its own in the
// database named by KELPA_TEST_POSTGRES_URL).
class TestDatabase {
public:
    explicit TestDatabase(const std::string& engine);
    ~TestDatabase();

    static bool available(const std::string& engine);
    const std::string& url() const { return url_; }
    const std::string& directory() const { return directory_; }
    // Every row of every table the actions change, as text, for before/after comparisons.
    std::string snapshot() const;
    // Runs SQL against the database behind the server's back, e.g. to age a row.
    void execute(const std::string& sql) const;
    // The first column of the first row the query returns, as text ("NULL" for null).
    std::string value(const std::string& sql) const;

private:
    std::string engine_;
    std::string directory_;
    std::string url_;
    std::string schema_;
};

}  // namespace kelpa::server::testing
