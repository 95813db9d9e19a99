#include "gui/map/TileLoader.h"

#include "platform/Log.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cstdlib>

namespace kelpa::gui {

namespace {
constexpr std::size_t kMaxQueued = 256;

QString hostOf(const QUrl& url) {
    return url.port() > 0 ? url.host() + ":" + QString::number(url.port()) : url.host();
}
}  // namespace

TileLoader::TileLoader(platform::TileSource source, std::filesystem::path cacheDirectory, Options options,
                       QObject* parent)
    : QObject(parent),
      source_(std::move(source)),
      cache_(std::move(cacheDirectory), source_.urlTemplate()),
      options_(options),
      memory_(options.memoryTiles) {
    if (!source_.urlTemplate().empty()) {
        network_ = new QNetworkAccessManager(this);
        network_->setTransferTimeout(static_cast<int>(options_.transferTimeout.count()));
    }
}

TileLoader::TileLoader(platform::TileSource source, std::filesystem::path cacheDirectory, QObject* parent)
    : TileLoader(std::move(source), std::move(cacheDirectory), Options{}, parent) {}

TileLoader::~TileLoader() = default;

TileLoader::Key TileLoader::keyOf(int z, int x, int y) {
    return (static_cast<Key>(z & 0xff) << 56) | (static_cast<Key>(static_cast<quint32>(x) & 0xfffffff) << 28) |
           static_cast<Key>(static_cast<quint32>(y) & 0xfffffff);
}

QImage TileLoader::peek(int z, int x, int y) const {
    const QImage* image = memory_.object(keyOf(z, x, y));
    return image ? *image : QImage();
}

QImage TileLoader::tile(int z, int x, int y) {
    const Key key = keyOf(z, x, y);
    if (const QImage* image = memory_.object(key)) return *image;
    if (inFlight_.contains(key)) return {};
    QImage stale;
    if (auto entry = cache_.read(z, x, y)) {
        QImage image;
        if (image.loadFromData(reinterpret_cast<const uchar*>(entry->bytes.data()), static_cast<int>(entry->bytes.size()))) {
            if (entry->fresh) {
                memory_.insert(key, new QImage(image));
                return image;
            }
            stale = image;
        }
    }
    // A stale copy stands in (once asked for afresh) until the server's answer replaces it.
    if (!stale.isNull()) memory_.insert(key, new QImage(stale));
    if (network_) enqueue(key, z, x, y);
    return stale;
}

void TileLoader::enqueue(Key key, int z, int x, int y) {
    const auto now = std::chrono::steady_clock::now();
    if (auto it = failedUntil_.find(key); it != failedUntil_.end()) {
        if (now < it.value()) return;
        failedUntil_.erase(it);
    }
    auto queued = std::find_if(queue_.begin(), queue_.end(), [key](const Wanted& w) { return w.key == key; });
    if (queued != queue_.end()) queue_.erase(queued);
    // The newest wish first: it is what the map shows now.
    queue_.push_front(Wanted{key, z, x, y});
    if (queue_.size() > kMaxQueued) queue_.pop_back();
    dispatch();
}

void TileLoader::dispatch() {
    const auto now = std::chrono::steady_clock::now();
    for (auto it = queue_.begin(); it != queue_.end() && inFlight_.size() < options_.maxInFlight;) {
        const Wanted wanted = *it;
        const QUrl url(QString::fromStdString(source_.urlForTile(wanted.z, wanted.x, wanted.y)));
        const QString host = hostOf(url);
        if (auto down = hostDownUntil_.find(host); down != hostDownUntil_.end() && now < down.value()) {
            ++it;  // waits for the pause to end
            continue;
        }
        it = queue_.erase(it);
        // One request at a time tries a host that was down; the others wait for its answer.
        if (hostDownUntil_.contains(host)) hostDownUntil_[host] = now + options_.hostPause;
        const auto request = source_.requestForTile(wanted.z, wanted.x, wanted.y);
        QNetworkRequest qrequest(url);
        for (const auto& [name, value] : request.headers) {
            qrequest.setRawHeader(QByteArray::fromStdString(name), QByteArray::fromStdString(value));
        }
        inFlight_.insert(wanted.key);
        QNetworkReply* reply = network_->get(qrequest);
        connect(reply, &QNetworkReply::finished, this,
                [this, reply, wanted, host] { finished(reply, wanted.key, wanted.z, wanted.x, wanted.y, host); });
    }
}

void TileLoader::finished(QNetworkReply* reply, Key key, int z, int x, int y, const QString& host) {
    reply->deleteLater();
    inFlight_.remove(key);
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() != QNetworkReply::NoError && status == 0) {
        failed(key, host, reply->errorString(), true);
    } else if (status != 200) {
        failed(key, host, QStringLiteral("HTTP %1").arg(status), false);
    } else {
        const QByteArray bytes = reply->readAll();
        QImage image;
        if (!image.loadFromData(bytes)) {
            failed(key, host, QStringLiteral("an answer that is no picture"), false);
        } else {
            hostDownUntil_.remove(host);
            hostsLogged_.remove(host);
            cache_.write(z, x, y, bytes.toStdString());
            memory_.insert(key, new QImage(image));
            emit tileLoaded(z, x, y);
        }
    }
    dispatch();
}

void TileLoader::failed(Key key, const QString& host, const QString& reason, bool hostDown) {
    const auto now = std::chrono::steady_clock::now();
    failedUntil_.insert(key, now + options_.tilePause);
    if (hostDown) hostDownUntil_.insert(host, now + options_.hostPause);
    // Maps ask again for what they show once the pause is over.
    if (!retryScheduled_) {
        retryScheduled_ = true;
        QTimer::singleShot(std::max(options_.tilePause, hostDown ? options_.hostPause : options_.tilePause), this, [this] {
            retryScheduled_ = false;
            emit retryDue();
        });
    }
    if (hostsLogged_.contains(host)) return;
    hostsLogged_.insert(host);
    platform::log("map tiles from " + host.toStdString() + " are unavailable: " + reason.toStdString());
}

}  // namespace kelpa::gui
