#include "LoopbackHttpServer.h"
#include "QtApp.h"
#include "TestEnvironment.h"
#include "gui/map/TileLoader.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QSignalSpy>

#include <algorithm>
#include <atomic>

namespace kelpa::testing {
namespace {

using gui::TileLoader;
using namespace std::chrono_literals;

std::string png(QColor colour) {
    QImage image(256, 256, QImage::Format_RGBA8888);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

int countLines(const TestEnvironment& t, const std::string& start) {
    auto lines = t.logLines();
    return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](const auto& l) { return l.starts_with(start); }));
}

class TileLoaderTest : public ::testing::Test {
protected:
    void SetUp() override { qtApp(); }

    TileLoader::Options quick() {
        TileLoader::Options options;
        options.hostPause = 60s;
        options.tilePause = 60s;
        return options;
    }
    // Asks until the tile is there (a reply arrives) or the time is up.
    QImage fetch(TileLoader& loader, int z, int x, int y) {
        QImage image = loader.tile(z, x, y);
        spinUntil([&] { return !(image = loader.tile(z, x, y)).isNull(); }, 5s);
        return image;
    }

    TestEnvironment t;
};

TEST_F(TileLoaderTest, FetchesWithItsUserAgentAndKeepsTheTileOnDisk) {
    LoopbackHttpServer server([](const std::string&) {
        return LoopbackHttpServer::Reply{200, png(Qt::red), "image/png"};
    });
    const platform::TileSource source(server.url() + "/{z}/{x}/{y}.png", "© Test", {}, "KelpaTest/1.0");
    TileLoader loader(source, t.home() / "tiles", quick());
    QSignalSpy loaded(&loader, &TileLoader::tileLoaded);

    EXPECT_TRUE(loader.tile(4, 8, 5).isNull());  // not at hand yet
    ASSERT_TRUE(spinUntil([&] { return loaded.count() == 1; }));
    EXPECT_EQ(loaded.at(0), (QList<QVariant>{4, 8, 5}));
    const QImage image = loader.tile(4, 8, 5);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.pixelColor(10, 10), QColor(Qt::red));

    ASSERT_EQ(server.requests().size(), 1u);
    const auto head = LoopbackHttpServer::headOf(server.requests()[0]);
    EXPECT_NE(head.find("GET /4/8/5.png"), std::string::npos) << head;
    EXPECT_NE(head.find("User-Agent: KelpaTest/1.0"), std::string::npos) << head;
    EXPECT_TRUE(loader.cache().read(4, 8, 5));

    // Another run of the app finds it on disk and asks nobody.
    TileLoader again(source, t.home() / "tiles", quick());
    EXPECT_FALSE(again.tile(4, 8, 5).isNull());
    EXPECT_EQ(again.requestsInFlight(), 0);
    EXPECT_EQ(server.requests().size(), 1u);
}

TEST_F(TileLoaderTest, AStaleTileStandsInWhileAFreshOneComes) {
    LoopbackHttpServer server([](const std::string&) {
        return LoopbackHttpServer::Reply{200, png(Qt::green), "image/png"};
    });
    const platform::TileSource source(server.url() + "/{z}/{x}/{y}.png");
    TileLoader loader(source, t.home() / "tiles", quick());
    ASSERT_TRUE(loader.cache().write(2, 1, 1, png(Qt::blue)));
    const auto old = std::filesystem::file_time_type::clock::now() - gui::TileCache::kFreshFor - 1h;
    std::filesystem::last_write_time(loader.cache().pathFor(2, 1, 1), old);

    EXPECT_EQ(loader.tile(2, 1, 1).pixelColor(0, 0), QColor(Qt::blue));
    ASSERT_TRUE(spinUntil([&] { return loader.tile(2, 1, 1).pixelColor(0, 0) == QColor(Qt::green); }));
    EXPECT_EQ(server.requests().size(), 1u);
}

TEST_F(TileLoaderTest, AHostThatAnswersErrorsIsLoggedOnceNotPerTile) {
    std::atomic<int> asked{0};
    LoopbackHttpServer server([&](const std::string&) {
        ++asked;
        return LoopbackHttpServer::Reply{404, "no such tile", "text/plain"};
    });
    TileLoader loader(platform::TileSource(server.url() + "/{z}/{x}/{y}.png"), t.home() / "tiles", quick());
    for (int x = 0; x < 4; ++x) loader.tile(2, x, 0);
    ASSERT_TRUE(spinUntil([&] { return asked == 4 && loader.requestsInFlight() == 0; }));
    EXPECT_EQ(countLines(t, "map tiles from 127.0.0.1:"), 1);
    EXPECT_TRUE(t.logLines().back().ends_with("are unavailable: HTTP 404")) << t.logLines().back();
    // A tile that failed is not asked for again at every redraw.
    for (int x = 0; x < 4; ++x) EXPECT_TRUE(loader.tile(2, x, 0).isNull());
    spinUntil([] { return false; }, 50ms);
    EXPECT_EQ(asked, 4);
}

TEST_F(TileLoaderTest, AnUnreachableHostIsLoggedOnceAndLeftAloneForAWhile) {
    int port = 0;
    {
        LoopbackHttpServer gone([](const std::string&) { return LoopbackHttpServer::Reply{}; });
        port = gone.port();
    }  // nothing listens there any more
    TileLoader loader(platform::TileSource("http://127.0.0.1:" + std::to_string(port) + "/{z}/{x}/{y}.png"),
                      t.home() / "tiles", quick());
    loader.tile(3, 0, 0);
    ASSERT_TRUE(spinUntil([&] { return countLines(t, "map tiles from") == 1 && loader.requestsInFlight() == 0; }));
    for (int x = 1; x < 8; ++x) EXPECT_TRUE(loader.tile(3, x, 0).isNull());
    EXPECT_EQ(loader.requestsInFlight(), 0);  // paused: nothing goes out
    spinUntil([] { return false; }, 50ms);
    EXPECT_EQ(countLines(t, "map tiles from"), 1);
}

TEST_F(TileLoaderTest, AfterItsPauseAHostIsTriedAgainAndForgivenWhenItAnswers) {
    std::atomic<bool> up{false};
    std::atomic<int> asked{0};
    LoopbackHttpServer server([&](const std::string&) {
        ++asked;
        if (!up) return LoopbackHttpServer::Reply{0, "", "", true};  // hangs up
        return LoopbackHttpServer::Reply{200, png(Qt::yellow), "image/png"};
    });
    auto options = quick();
    options.hostPause = 30ms;
    options.tilePause = 30ms;
    TileLoader loader(platform::TileSource(server.url() + "/{z}/{x}/{y}.png"), t.home() / "tiles", options);
    QSignalSpy retry(&loader, &TileLoader::retryDue);
    loader.tile(1, 0, 0);
    ASSERT_TRUE(spinUntil([&] { return countLines(t, "map tiles from") == 1; }));
    // The maps hear when to ask again.
    ASSERT_TRUE(spinUntil([&] { return retry.count() == 1; }));
    up = true;
    EXPECT_FALSE(fetch(loader, 1, 0, 0).isNull());
    EXPECT_GE(asked, 2);
}

TEST_F(TileLoaderTest, WithoutATemplateItOnlyReadsTheDisk) {
    TileLoader loader(platform::TileSource(""), t.home() / "tiles", quick());
    EXPECT_TRUE(loader.tile(1, 0, 0).isNull());
    EXPECT_EQ(loader.requestsInFlight(), 0);
    ASSERT_TRUE(loader.cache().write(1, 1, 0, png(Qt::cyan)));
    EXPECT_EQ(loader.tile(1, 1, 0).pixelColor(3, 3), QColor(Qt::cyan));
    EXPECT_TRUE(t.logLines().empty());
}

TEST_F(TileLoaderTest, APeekAsksForNothing) {
    LoopbackHttpServer server([](const std::string&) { return LoopbackHttpServer::Reply{200, png(Qt::red), "image/png"}; });
    TileLoader loader(platform::TileSource(server.url() + "/{z}/{x}/{y}.png"), t.home() / "tiles", quick());
    EXPECT_TRUE(loader.peek(0, 0, 0).isNull());
    spinUntil([] { return false; }, 30ms);
    EXPECT_TRUE(server.requests().empty());
    EXPECT_FALSE(fetch(loader, 0, 0, 0).isNull());
    EXPECT_FALSE(loader.peek(0, 0, 0).isNull());
}

}  // namespace
}  // namespace kelpa::testing
