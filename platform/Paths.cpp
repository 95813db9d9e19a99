#include "platform/Paths.h"

#include <cstdlib>

namespace kelpa::platform {

namespace {
std::filesystem::path fromEnv(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? std::filesystem::path(value) : std::filesystem::path();
}

std::filesystem::path xdg(const char* variable, const char* fallbackUnderHome) {
    auto dir = fromEnv(variable);
    if (dir.empty()) {
        auto home = fromEnv("HOME");
        dir = (home.empty() ? std::filesystem::temp_directory_path() : home) / fallbackUnderHome;
    }
    return dir / "kelpa";
}
}  // namespace

std::filesystem::path Paths::configDirectory() {
    auto home = fromEnv("KELPA_HOME");
    return home.empty() ? xdg("XDG_CONFIG_HOME", ".config") : home;
}

std::filesystem::path Paths::documentsDirectory() {
    auto home = fromEnv("KELPA_HOME");
    return (home.empty() ? xdg("XDG_DATA_HOME", ".local/share") : home) / "Documents";
}

}  // namespace kelpa::platform
