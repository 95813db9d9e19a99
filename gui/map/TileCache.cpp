#include "gui/map/TileCache.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <system_error>

#include <unistd.h>

namespace kelpa::gui {

namespace fs = std::filesystem;

namespace {
fs::path fromEnv(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? fs::path(value) : fs::path();
}

std::string hostOf(const std::string& urlTemplate) {
    auto start = urlTemplate.find("://");
    start = start == std::string::npos ? 0 : start + 3;
    auto end = urlTemplate.find_first_of("/?#", start);
    std::string host = urlTemplate.substr(start, end == std::string::npos ? std::string::npos : end - start);
    // "{s}.tile.example.org" and "user@host:port" become plain folder names.
    std::string clean;
    for (char c : host) {
        const bool keep = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
                          c == '-';
        if (keep) clean += c;
        else if (c == ':') clean += '_';
    }
    while (!clean.empty() && clean.front() == '.') clean.erase(clean.begin());
    return clean.empty() ? "tiles" : clean;
}

// FNV-1a: stable across runs and builds, unlike std::hash.
std::uint32_t fnv1a(const std::string& text) {
    std::uint32_t hash = 2166136261u;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 16777619u;
    }
    return hash;
}
}  // namespace

TileCache::TileCache(fs::path directory, const std::string& urlTemplate)
    : root_(std::move(directory) / sourceKey(urlTemplate)) {}

fs::path TileCache::defaultDirectory() {
    if (auto home = fromEnv("KELPA_HOME"); !home.empty()) return home / "cache" / "tiles";
    if (auto cache = fromEnv("XDG_CACHE_HOME"); !cache.empty()) return cache / "kelpa" / "tiles";
    auto home = fromEnv("HOME");
    return (home.empty() ? fs::temp_directory_path() : home) / ".cache" / "kelpa" / "tiles";
}

std::string TileCache::sourceKey(const std::string& urlTemplate) {
    char hash[9];
    std::snprintf(hash, sizeof hash, "%08x", fnv1a(urlTemplate));
    return hostOf(urlTemplate) + "-" + hash;
}

fs::path TileCache::pathFor(int z, int x, int y) const {
    return root_ / std::to_string(z) / std::to_string(x) / (std::to_string(y) + ".tile");
}

std::optional<TileCache::Entry> TileCache::read(int z, int x, int y, std::chrono::system_clock::time_point now) const {
    const auto path = pathFor(z, x, y);
    std::error_code error;
    const auto written = fs::last_write_time(path, error);
    if (error) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    Entry entry{bytes.str(), false};
    if (entry.bytes.empty()) return std::nullopt;
    const auto age = now - std::chrono::file_clock::to_sys(written);
    entry.fresh = age < kFreshFor;
    return entry;
}

bool TileCache::write(int z, int x, int y, const std::string& bytes) const {
    const auto path = pathFor(z, x, y);
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    if (error) return false;
    auto aside = path;
    aside += ".part" + std::to_string(::getpid());
    {
        std::ofstream out(aside, std::ios::binary | std::ios::trunc);
        if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()))) return false;
    }
    fs::rename(aside, path, error);
    if (!error) return true;
    fs::remove(aside, error);
    return false;
}

}  // namespace kelpa::gui
