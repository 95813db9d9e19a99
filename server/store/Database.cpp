#include "server/store/Database.h"

#include <stdexcept>

#include "server/store/PostgresDatabase.h"
#include "server/store/SqliteDatabase.h"

namespace kelpa::server {

std::unique_ptr<Database> Database::open(const std::string& url) {
    if (url.starts_with("sqlite:")) return std::make_unique<SqliteDatabase>(url.substr(7));
    if (url.starts_with("postgresql://") || url.starts_with("postgres://"))
        return std::make_unique<PostgresDatabase>(url);
    throw std::runtime_error("unsupported database address (use sqlite:PATH or postgresql://...)");
}

}  // namespace kelpa::server
