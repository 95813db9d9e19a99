#include "platform/maps/TileSource.h"

#include <gtest/gtest.h>

#include <set>

namespace kelpa::platform {
namespace {

TEST(TileSource, ExpandsTheTemplate) {
    struct Case {
        std::string urlTemplate;
        int z, x, y;
        std::string url;
    };
    for (const auto& c : {
             Case{TileSource::kDefaultURLTemplate, 12, 2179, 1421, "https://tile.openstreetmap.org/12/2179/1421.png"},
             Case{"http://127.0.0.1:8081/tiles/{z}/{y}/{x}?key={key}", 0, 0, 0,
                  "http://127.0.0.1:8081/tiles/0/0/0?key={key}"},  // not ours: kept
             Case{"https://{s}.tiles.example/{z}-{x}-{y}.png", 3, 1, 1, "https://c.tiles.example/3-1-1.png"},
             Case{"{z}{x}{y}", 19, 524287, 7, "195242877"},
             Case{"broken {z", 1, 0, 0, "broken {z"},
         }) {
        EXPECT_EQ(TileSource(c.urlTemplate).urlForTile(c.z, c.x, c.y), c.url) << c.urlTemplate;
    }
}

TEST(TileSource, ASubdomainIsTheSameForATileAndSpreadOverTiles) {
    TileSource source("https://{s}.tile.example/{z}/{x}/{y}.png", "© Example", {"one", "two"});
    EXPECT_EQ(source.urlForTile(5, 3, 4), source.urlForTile(5, 3, 4));
    std::set<std::string> hosts;
    for (int x = 0; x < 4; ++x) hosts.insert(source.urlForTile(5, x, 0).substr(0, 12));
    EXPECT_EQ(hosts, (std::set<std::string>{"https://one.", "https://two."}));
    EXPECT_EQ(TileSource("https://{s}.x/{z}", "", {}).urlForTile(1, 0, 0), "https://{s}.x/1");
}

TEST(TileSource, IntroducesItselfAndCreditsTheMap) {
    TileSource source;
    EXPECT_EQ(source.attribution(), "© OpenStreetMap contributors");
    auto request = source.requestForTile(1, 1, 0);
    EXPECT_EQ(request.method, "GET");
    EXPECT_EQ(request.url, "https://tile.openstreetmap.org/1/1/0.png");
    EXPECT_EQ(request.headers,
              (std::vector<std::pair<std::string, std::string>>{{"User-Agent", "Kelpa/0.1 (+https://kelpa.invalid)"}}));
}

}  // namespace
}  // namespace kelpa::platform
