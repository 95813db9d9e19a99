#include "gui/map/TileCache.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

namespace kelpa::testing {
namespace {

namespace fs = std::filesystem;
using gui::TileCache;

class TileCacheTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("kelpa-tiles-" + std::to_string(std::random_device{}()));
        fs::create_directories(root);
    }
    void TearDown() override { fs::remove_all(root); }
    fs::path root;
};

TEST_F(TileCacheTest, EachSourceKeepsItsTilesApartUnderAReadableName) {
    const TileCache osm(root, "https://tile.openstreetmap.org/{z}/{x}/{y}.png");
    const TileCache other(root, "https://tile.openstreetmap.org/other/{z}/{x}/{y}.png");
    EXPECT_EQ(osm.pathFor(5, 17, 10), osm.root() / "5" / "17" / "10.tile");
    EXPECT_EQ(osm.root().parent_path(), root);
    EXPECT_TRUE(osm.root().filename().string().starts_with("tile.openstreetmap.org-"));
    EXPECT_NE(osm.root(), other.root());
}

TEST_F(TileCacheTest, SourceKeysAreFolderNamesWhateverTheTemplate) {
    struct Case {
        const char* urlTemplate;
        const char* prefix;
    };
    const Case cases[] = {
        {"https://{s}.tile.example.org/{z}/{x}/{y}.png", "s.tile.example.org-"},
        {"http://127.0.0.1:8123/tiles/{z}/{x}/{y}.png", "127.0.0.1_8123-"},
        {"http://user@host/{z}/{x}/{y}", "userhost-"},
        {"no-scheme/{z}", "no-scheme-"},
        {"", "tiles-"},
    };
    for (const auto& c : cases) {
        const auto key = TileCache::sourceKey(c.urlTemplate);
        EXPECT_TRUE(key.starts_with(c.prefix)) << c.urlTemplate << " -> " << key;
        EXPECT_EQ(key.find('/'), std::string::npos) << key;
        EXPECT_EQ(key.size(), std::string(c.prefix).size() + 8) << key;
        // Stable from run to run: the cache is found again after a restart.
        EXPECT_EQ(key, TileCache::sourceKey(c.urlTemplate));
    }
}

TEST_F(TileCacheTest, ReadsBackWhatItWroteFreshUntilAWeekHasPassed) {
    const TileCache cache(root, "http://tiles.test/{z}/{x}/{y}.png");
    EXPECT_FALSE(cache.read(3, 4, 5));
    ASSERT_TRUE(cache.write(3, 4, 5, "png bytes"));
    const auto now = std::chrono::system_clock::now();
    auto entry = cache.read(3, 4, 5, now);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->bytes, "png bytes");
    EXPECT_TRUE(entry->fresh);
    auto later = cache.read(3, 4, 5, now + TileCache::kFreshFor + std::chrono::hours(1));
    ASSERT_TRUE(later);
    EXPECT_FALSE(later->fresh);
    EXPECT_EQ(later->bytes, "png bytes");
    // Written whole: nothing is left aside.
    for (const auto& file : fs::directory_iterator(cache.pathFor(3, 4, 5).parent_path())) {
        EXPECT_EQ(file.path().filename(), "5.tile");
    }
}

TEST_F(TileCacheTest, AnEmptyFileIsNoTile) {
    const TileCache cache(root, "http://tiles.test/{z}/{x}/{y}.png");
    fs::create_directories(cache.pathFor(1, 0, 0).parent_path());
    std::ofstream(cache.pathFor(1, 0, 0)).flush();
    EXPECT_FALSE(cache.read(1, 0, 0));
}

TEST_F(TileCacheTest, AWriteThatCannotHappenSaysSo) {
    std::ofstream(root / "file").flush();
    const TileCache cache(root / "file", "http://tiles.test/{z}/{x}/{y}.png");
    EXPECT_FALSE(cache.write(1, 0, 0, "bytes"));
}

// The installation's cache folder comes from the environment.
class TileCacheDirectoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"KELPA_HOME", "XDG_CACHE_HOME", "HOME"}) {
            const char* value = std::getenv(name);
            saved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
        }
    }
    void TearDown() override {
        for (const auto& [name, value] : saved) {
            if (value) ::setenv(name, value->c_str(), 1);
            else ::unsetenv(name);
        }
    }
    static void set(const char* name, const char* value) {
        if (value) ::setenv(name, value, 1);
        else ::unsetenv(name);
    }
    std::vector<std::pair<const char*, std::optional<std::string>>> saved;
};

TEST_F(TileCacheDirectoryTest, FollowsTheInstallationThenTheDesktopsCacheFolder) {
    struct Case {
        const char* kelpaHome;
        const char* xdgCache;
        const char* home;
        const char* expected;
    };
    const Case cases[] = {
        {"/inst", "/xdg", "/home/a", "/inst/cache/tiles"},
        {"", "/xdg", "/home/a", "/xdg/kelpa/tiles"},
        {nullptr, nullptr, "/home/a", "/home/a/.cache/kelpa/tiles"},
    };
    for (const auto& c : cases) {
        set("KELPA_HOME", c.kelpaHome);
        set("XDG_CACHE_HOME", c.xdgCache);
        set("HOME", c.home);
        EXPECT_EQ(TileCache::defaultDirectory(), fs::path(c.expected));
    }
}

}  // namespace
}  // namespace kelpa::testing
