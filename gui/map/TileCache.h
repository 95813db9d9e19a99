#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

namespace kelpa::gui {

// Map tiles kept on disk, one file per tile under a folder per tile source, so that a
// changed KELPA_TILE_URL never shows another server's pictures. Tiles younger than the
// freshness limit are used as they are; older ones stand in while the network has no answer.
class TileCache {
public:
    // What tile servers such as OpenStreetMap's ask clients to keep tiles at least.
    static constexpr std::chrono::hours kFreshFor{24 * 7};

    TileCache(std::filesystem::path directory, const std::string& urlTemplate);

    // The installation's cache: $KELPA_HOME/cache/tiles, else $XDG_CACHE_HOME/kelpa/tiles,
    // else ~/.cache/kelpa/tiles.
    static std::filesystem::path defaultDirectory();
    // A readable, distinct folder name for a URL template: its host and a short hash of all of it.
    static std::string sourceKey(const std::string& urlTemplate);

    const std::filesystem::path& root() const { return root_; }
    std::filesystem::path pathFor(int z, int x, int y) const;

    struct Entry {
        std::string bytes;
        bool fresh = false;
    };
    // The stored tile, fresh or not; none when there is none.
    std::optional<Entry> read(int z, int x, int y,
                              std::chrono::system_clock::time_point now = std::chrono::system_clock::now()) const;
    // Stores a tile whole or not at all (written aside, then renamed). False when it could not.
    bool write(int z, int x, int y, const std::string& bytes) const;

private:
    std::filesystem::path root_;
};

}  // namespace kelpa::gui
