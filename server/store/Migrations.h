#pragma once

#include "server/store/Database.h"

namespace kelpa::server {

// Versioned schema changes, applied in order at start inside one transaction each. A
// version, once released, is never edited: changes go into a new version.
class Migrations {
public:
    static void apply(Database& db);
    static int latestVersion();
};

}  // namespace kelpa::server
