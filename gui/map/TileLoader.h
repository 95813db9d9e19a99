#pragma once

#include "gui/map/TileCache.h"
#include "platform/maps/TileSource.h"

#include <QCache>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QSet>
#include <QString>

#include <chrono>
#include <deque>
#include <filesystem>
#include <optional>

class QNetworkAccessManager;
class QNetworkReply;

namespace kelpa::gui {

// Fetches map tiles for every map on screen: from memory, else from the disk cache, else from
// the tile server with the source's User-Agent. A server that cannot be reached, or that
// answers with errors, is logged once (not once per tile) and asked again only after a pause;
// the maps meanwhile draw what they have.
class TileLoader : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString attribution READ attribution CONSTANT)

public:
    struct Options {
        int memoryTiles = 512;
        int maxInFlight = 4;
        std::chrono::milliseconds hostPause{std::chrono::seconds(30)};
        std::chrono::milliseconds tilePause{std::chrono::seconds(60)};
        std::chrono::milliseconds transferTimeout{std::chrono::seconds(15)};
    };

    // Without a URL template it loads nothing (tests, self-test, offline use).
    TileLoader(platform::TileSource source, std::filesystem::path cacheDirectory, Options options, QObject* parent = nullptr);
    TileLoader(platform::TileSource source, std::filesystem::path cacheDirectory, QObject* parent = nullptr);
    ~TileLoader() override;

    QString attribution() const { return QString::fromStdString(source_.attribution()); }
    const platform::TileSource& source() const { return source_; }
    const TileCache& cache() const { return cache_; }

    // The tile's picture when it is at hand; otherwise it is asked for, tileLoaded follows, and
    // the answer now is a null image (or the stale copy from disk while a fresh one comes).
    QImage tile(int z, int x, int y);
    // Only what is in memory; asks for nothing.
    QImage peek(int z, int x, int y) const;
    int requestsInFlight() const { return static_cast<int>(inFlight_.size()); }

signals:
    void tileLoaded(int z, int x, int y);
    // Tiles that failed may be asked for again now.
    void retryDue();

private:
    using Key = quint64;
    static Key keyOf(int z, int x, int y);
    void enqueue(Key key, int z, int x, int y);
    void dispatch();
    void finished(QNetworkReply* reply, Key key, int z, int x, int y, const QString& host);
    void failed(Key key, const QString& host, const QString& reason, bool hostDown);

    struct Wanted {
        Key key;
        int z, x, y;
    };
    using SteadyTime = std::chrono::steady_clock::time_point;

    platform::TileSource source_;
    TileCache cache_;
    Options options_;
    QNetworkAccessManager* network_ = nullptr;
    QCache<Key, QImage> memory_;
    QSet<Key> inFlight_;
    std::deque<Wanted> queue_;
    QHash<Key, SteadyTime> failedUntil_;
    QHash<QString, SteadyTime> hostDownUntil_;
    QSet<QString> hostsLogged_;
    bool retryScheduled_ = false;
};

}  // namespace kelpa::gui
